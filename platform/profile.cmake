# The profile (settings file) services: the portable reader and writer goes into both platform
# libraries (the memory one runs on it; the Win32 tests compare against it), each with its own
# ProfileGetString and ProfileWriteString.
target_sources(platform_memory PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/common/profile_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory/profile.cpp)
if(TARGET platform_win32)
  target_sources(platform_win32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/common/profile_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32/profile.cpp)
endif()
