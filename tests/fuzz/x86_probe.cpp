// Does nothing: that it runs at all says the kernel starts 32-bit programs.
int main() { return 0; }
