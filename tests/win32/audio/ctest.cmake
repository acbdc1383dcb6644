# Runs the voice audio's Win32 test programs under Wine (included by tests/e2e/CMakeLists.txt).
add_test(NAME win32_audio_devices
         COMMAND ${ZELVORA_RUN_WIN32_TEST} ${ZELVORA_WINDOWS_BUILD_DIR}/tests/win32/audio/audio_devices_test.exe)
