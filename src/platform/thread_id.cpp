#include "platform/thread_id.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace kiv {

uint32_t CurrentThreadId() { return uint32_t(::syscall(SYS_gettid)); }

}  // namespace kiv
