// The C++ runtime pieces that a small GUI program links in its own, lighter
// form. The program catches no exception, so an error that would throw ends
// it as an uncaught exception would: std::abort. That leaves out the
// exception machinery, the demangler and the message tables (some 100 KB).
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_length_error(const char*) { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
}  // namespace std

void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    std::abort();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
