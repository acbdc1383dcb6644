# The HTTPS client's Win32 test, run under Wine against the reference web service on port 443 of its own
# network namespace (included by tests/e2e/CMakeLists.txt).
add_test(NAME win32_web_https_client
         COMMAND ${isolated} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/run_https_client_test.py
                 ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/web/web_https_client_test.exe)
add_test(NAME win32_web_https_client_stalled
         COMMAND ${isolated} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/run_https_client_test.py
                 ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/web/web_https_client_test.exe stalled)
set_tests_properties(win32_web_https_client win32_web_https_client_stalled PROPERTIES ENVIRONMENT
    "ZELVORA_WINDOWS_BUILD_DIR=${ZELVORA_WINDOWS_BUILD_DIR};ZELVORA_NATIVE_BUILD_DIR=${CMAKE_BINARY_DIR};PYTHONDONTWRITEBYTECODE=1;${harness_path}")
add_test(NAME win32_web_member_windows
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/web/web_member_windows_test.exe)
add_test(NAME win32_web_hostile_pictures
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/web/web_hostile_pictures_test.exe)
add_test(NAME win32_web_speaker_band
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/web/web_speaker_band_test.exe)
