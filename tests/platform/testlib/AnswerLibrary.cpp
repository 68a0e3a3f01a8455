// A tiny library for the loader tests; built twice with different answers so
// a test can tell which copy the loader picked.

extern "C" __attribute__((visibility("default"))) int PlatformTestAnswer() { return PLATFORM_TEST_ANSWER; }
