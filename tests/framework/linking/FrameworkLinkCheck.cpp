// Links every object of the framework into a program on libLumoGame.so; the
// program only has to exist, so it does nothing.
int main() { return 0; }
