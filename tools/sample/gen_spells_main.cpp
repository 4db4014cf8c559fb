// rivizuzi-gen-spells [--lines N] [--seed S] [--output PATH]
int main() { return 0; }
