# SPDX-License-Identifier: GPL-3.0-or-later
# Settings shared by every target of the project.
add_library(qx_settings INTERFACE)
target_compile_features(qx_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(qx_settings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual)
if(QX_WERROR)
    target_compile_options(qx_settings INTERFACE -Werror)
endif()
# GCC 12 reports overlapping copies inside std::string's operator+ that cannot happen once it
# inlines them at -O2 and above (fixed in GCC 13); the warning says nothing about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(qx_settings INTERFACE -Wno-restrict)
endif()
# Standalone Asio, no Boost; no deprecated interfaces.
target_compile_definitions(qx_settings INTERFACE ASIO_STANDALONE ASIO_NO_DEPRECATED
                                                 _FILE_OFFSET_BITS=64)
if(QX_SANITIZE)
    string(REPLACE ";" "," qx_san "${QX_SANITIZE}")
    target_compile_options(qx_settings INTERFACE -fsanitize=${qx_san} -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=all)
    target_link_options(qx_settings INTERFACE -fsanitize=${qx_san})
    if("thread" IN_LIST QX_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # asio's lock-free paths use atomic_thread_fence, which ThreadSanitizer cannot model;
        # GCC says so for every use.
        target_compile_options(qx_settings INTERFACE -Wno-tsan)
    endif()
endif()
