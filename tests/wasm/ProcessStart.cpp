// The start a desktop process gets, which the WebAssembly C library does not give: its umask is
// 0777, under which every file made with the usual 0666 would be unreadable. The page's binding
// sets the same.
#include <sys/stat.h>

namespace {

[[maybe_unused]] const bool kUsualUmask = (::umask(022), true);

}  // namespace
