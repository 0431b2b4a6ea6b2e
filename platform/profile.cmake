# The profile (settings file) services. The memory volume reads and rewrites its files through a
# portable copy of the Win32 profile functions, which is test support: the Win32 settings tests
# hold it against the system's calls, and the program, which calls those directly, never links it.
add_library(memory_profile_format STATIC ${CMAKE_CURRENT_LIST_DIR}/memory/profile_format.cpp)
target_link_libraries(memory_profile_format PUBLIC platform_common PRIVATE memory_case_fold)

target_sources(platform_memory PRIVATE ${CMAKE_CURRENT_LIST_DIR}/memory/profile.cpp)
target_link_libraries(platform_memory PRIVATE memory_profile_format)
if(TARGET platform_win32)
  target_sources(platform_win32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/profile.cpp)
endif()
