# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads),
# against the prefix that scripts/windows-deps builds. The prefix comes from
# KELVO_WINDOWS_PREFIX (cache variable or environment).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVO_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${KELVO_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KELVO_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT KELVO_WINDOWS_PREFIX AND DEFINED ENV{KELVO_WINDOWS_PREFIX})
  set(KELVO_WINDOWS_PREFIX $ENV{KELVO_WINDOWS_PREFIX})
endif()
# try_compile projects inherit the prefix through the environment.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELVO_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH ${KELVO_WINDOWS_PREFIX} /usr/${KELVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(PREPEND CMAKE_PREFIX_PATH ${KELVO_WINDOWS_PREFIX})

# OpenSSL is static in the prefix: FindOpenSSL then adds what it needs of
# Windows (ws2_32, crypt32).
set(OPENSSL_USE_STATIC_LIBS TRUE)

# pkg-config looks only into the prefix, never at the host's .pc files.
if(KELVO_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${KELVO_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
