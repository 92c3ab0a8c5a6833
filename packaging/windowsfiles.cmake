# What the Windows zip holds, all in its top folder: Windows finds DLLs beside
# the program, and Qt its plugins in folders beside it. There is no
# windeployqt for a cross build, so the files are named here.
install(TARGETS pelzo-config pelzo-cli RUNTIME DESTINATION .)
foreach(module Core Gui Widgets SerialPort)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> DESTINATION imageformats)
# The compiler's own runtime, wherever this MinGW keeps it.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "The MinGW runtime ${dll} was not found")
  endif()
  install(FILES ${path} DESTINATION .)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/pictures DESTINATION .)
