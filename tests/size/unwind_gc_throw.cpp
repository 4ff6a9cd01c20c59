// Exceptions thrown through template and inline functions of a program linked
// like the 32-bit product, whose link keeps the frame descriptions of such
// functions only while the functions themselves stay (cmake/unwind_gc.cmake).
// A description dropped by mistake ends the program in std::terminate
// instead of reaching the handler.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

int g_cleanups = 0;

struct Counted {
    ~Counted() { ++g_cleanups; }
};

// Templates and inline functions get a description section of their own;
// noipa keeps GCC from turning this one into a local clone, which has none.
template <typename T> __attribute__((noipa)) T ThrowFromDepth(T depth) {
    Counted counted;
    if (depth == 0)
        throw std::runtime_error("bottom");
    return ThrowFromDepth<T>(depth - 1) + 1;
}

// Never called: its description must go and must not disturb the others.
template <typename T> __attribute__((noipa)) T NeverCalled(T value) {
    Counted counted;
    if (value < 0)
        throw std::logic_error("unused");
    return value * 3;
}
template long NeverCalled<long>(long);

int main(int argc, char**) {
    // The depth comes from the command line, so nothing is folded away.
    const int depth = argc + 2;
    const std::vector<int> depths{depth};
    try {
        std::for_each(depths.begin(), depths.end(), [](int d) { ThrowFromDepth<int>(d); });
    } catch (const std::runtime_error& error) {
        // Every frame on the way was unwound, destructors included.
        const bool unwound = g_cleanups == depth + 1 && std::string(error.what()) == "bottom";
        return unwound ? 0 : 2;
    }
    return 1;
}
