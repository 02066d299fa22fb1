# tolv.dll as the host's loader sees it, read with objdump -p:
#   cmake -DOBJDUMP=i686-w64-mingw32-objdump -DDLL=tolv.dll -P DllExports.cmake
# it exports exactly the eight entry points under their plain names, and imports only Windows
# system DLLs (no runtime DLL of the compiler beside it).
execute_process(COMMAND ${OBJDUMP} -p ${DLL} RESULT_VARIABLE result OUTPUT_VARIABLE dump)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL}: exit status ${result}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[ 0-9]+\\][^\n]*\n)+)" table "${dump}")
string(REGEX MATCHALL "\\] [^\n]+" entries "${CMAKE_MATCH_1}")
set(names)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\\] " "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected On_Channel_Change On_Exit On_Filter_Close On_Filter_Receive On_Key_Down On_Menu_Select
             On_Send_Dll_ID_Name On_Start)
list(SORT expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exports: '${names}', expected '${expected}'")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(system advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll winspool.drv
           comctl32.dll ole32.dll)
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system AND NOT dll MATCHES "^api-ms-win-")
    message(FATAL_ERROR "tolv.dll imports ${dll}, not a Windows system DLL")
  endif()
endforeach()
message("exports: ${names}; imports: ${imports}")
