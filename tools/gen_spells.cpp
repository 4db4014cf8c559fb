// Placeholder: the generator is being written.
int main() { return 0; }
