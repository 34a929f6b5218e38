# Compiler and linker settings of the two builds.

# Every target of ours: warnings are errors.
add_compile_options(-Wall -Wextra -Werror)

# Collects the sources of this platform below `folder` (recursively) into `out`: the other
# platform's *_<platform>.cpp files are left out.
function(qm_platform_sources out folder)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${folder}/*.cpp)
  list(FILTER found EXCLUDE REGEX "_${QM_OTHER_PLATFORM}(_test)?\\.cpp$")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

if(WIN32)
  # Windows 7 is the oldest system served: newer functions are looked up at run time.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                          WINVER=0x0601)
  # One self-contained executable: the C and C++ runtimes and winpthreads linked in. Each function
  # and datum in a section of its own, so that the link drops what nothing calls (the cross-built
  # OpenSSL and libcurl are compiled the same way by scripts/bootstrap).
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase -Wl,--nxcompat
                   -Wl,--gc-sections)
elseif(QM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QM_THREAD_SANITIZE)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
