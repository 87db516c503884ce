// Compiles the shared precompiled header of the targets that reuse it.
int main() { return 0; }
