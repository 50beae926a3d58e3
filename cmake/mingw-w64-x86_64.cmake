# Cross build of kv_cli.exe for 64-bit Windows with the MinGW-w64 toolchain
# (Debian: g++-mingw-w64-x86-64-posix). The -posix compilers give the C++
# standard library its threads; the executables are linked statically so that
# they run alone, on Windows or under wine.
#
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The only third-party library the product uses, nlohmann/json, is header
# only: its headers and package files from the build machine are staged into
# a prefix of the build folder, so that nothing else from the build machine's
# /usr/include is seen by the Windows compiler. GoogleTest, for the unit
# tests, must be cross-built into the same prefix first (scripts/test-windows.sh
# does it); without it configure with -DKV_BUILD_TESTS=OFF.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KV_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KV_MINGW_TRIPLET}-windres)
# Every program of the build (kv_cli.exe, the tests) carries its runtime.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Where cross-built and staged packages live (see above).
if(NOT KV_WINDOWS_STAGE)
  set(KV_WINDOWS_STAGE ${CMAKE_BINARY_DIR}/windows-stage)
endif()
set(KV_WINDOWS_STAGE ${KV_WINDOWS_STAGE} CACHE PATH "Prefix of the cross-built packages")

set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_TRIPLET} ${KV_WINDOWS_STAGE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs of the build run under wine (test discovery, ctest); the loader
# of the wine64 package lies in wine's library folder.
find_program(KV_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine NO_CMAKE_FIND_ROOT_PATH)
if(KV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KV_WINE})
endif()

# Stage the build machine's nlohmann/json (header only) once per build folder;
# the package files find their headers relative to themselves.
get_property(KV_IN_TRY_COMPILE GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT KV_IN_TRY_COMPILE AND NOT EXISTS ${KV_WINDOWS_STAGE}/include/nlohmann)
  foreach(kv_json_config_dir /usr/share/cmake/nlohmann_json /usr/lib/cmake/nlohmann_json)
    if(EXISTS ${kv_json_config_dir}/nlohmann_jsonConfig.cmake AND EXISTS /usr/include/nlohmann)
      file(MAKE_DIRECTORY ${KV_WINDOWS_STAGE}/share/cmake ${KV_WINDOWS_STAGE}/include)
      file(COPY ${kv_json_config_dir} DESTINATION ${KV_WINDOWS_STAGE}/share/cmake)
      file(CREATE_LINK /usr/include/nlohmann ${KV_WINDOWS_STAGE}/include/nlohmann SYMBOLIC)
      break()
    endif()
  endforeach()
endif()
