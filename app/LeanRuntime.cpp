// Two pieces of the C++ runtime replaced in the setup program, which must
// stay small: linked statically, the originals bring about 100 KB with them
// (the name demangler, and the copy-on-write strings behind the standard
// exceptions that carry a message). Linked into Installer.exe only; test
// programs keep the originals.
//
// An archive member is linked only for a symbol nothing else defines, so
// defining every symbol of a member here keeps that member out.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// What the runtime's own checks throw here instead of std::logic_error and
// its kin. Nothing in the program catches those by type: a failure ends the
// operation (catch (...)) or the program, as before.
class RuntimeCheckFailed : public std::exception {
 public:
  explicit RuntimeCheckFailed(const char* what) : text(what != nullptr ? what : "runtime check failed") {}
  const char* what() const noexcept override { return text; }

 private:
  const char* text;  // the runtime's own literals: static storage
};

}  // namespace

namespace __gnu_cxx {

// The default handler of std::terminate. The original names the exception
// on the standard error stream, which a GUI program does not have.
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

// Every function of the runtime's member that raises its exceptions.
namespace std {

void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_logic_error(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_domain_error(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_invalid_argument(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_length_error(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_out_of_range(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw RuntimeCheckFailed(format); }
void __throw_runtime_error(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_range_error(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_overflow_error(const char* what) { throw RuntimeCheckFailed(what); }
void __throw_underflow_error(const char* what) { throw RuntimeCheckFailed(what); }

}  // namespace std
