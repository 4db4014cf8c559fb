// Placeholder: the exporter is being written.
int main() { return 0; }
