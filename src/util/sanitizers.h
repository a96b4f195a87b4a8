// Which sanitizer a build runs under, for GCC and Clang alike: defines
// SPRECHO_ADDRESS_SANITIZER and SPRECHO_THREAD_SANITIZER as 1 where they
// apply.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define SPRECHO_ADDRESS_SANITIZER 1
#endif
#if defined(__SANITIZE_THREAD__)
#define SPRECHO_THREAD_SANITIZER 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) && !defined(SPRECHO_ADDRESS_SANITIZER)
#define SPRECHO_ADDRESS_SANITIZER 1
#endif
#if __has_feature(thread_sanitizer) && !defined(SPRECHO_THREAD_SANITIZER)
#define SPRECHO_THREAD_SANITIZER 1
#endif
#endif
