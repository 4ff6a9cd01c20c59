// Overflows a stack buffer on purpose. Built with the product's flags and its
// canary and handler (app/process_hardening_win.cpp): the protector must end
// the process with STATUS_STACK_BUFFER_OVERRUN before the corrupt frame
// returns. `stack_smash.exe N` copies N bytes into a 16-byte buffer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

__attribute__((noinline)) int Copy(const char* text, size_t length) {
    char buffer[16];
    std::memcpy(buffer, text, length);
    return buffer[0] + buffer[length > 0 ? length - 1 : 0];
}

int main(int argc, char** argv) {
    const size_t length = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 8;
    static char text[256];
    std::memset(text, 'A', sizeof text);
    const int sum = Copy(text, length < sizeof text ? length : sizeof text);
    std::printf("returned normally (%d)\n", sum);
    return 0;
}
