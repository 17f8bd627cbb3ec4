// SPDX-License-Identifier: GPL-3.0-or-later
// ASan options compiled into the test suites that host QtWebEngine.
//
// new_delete_type_mismatch=0: the web engine library (Chromium, not built with ASan) frees
// some of its own objects through a base-class pointer with a sized delete when a page is torn
// down; ASan's global operator delete sees the size differ from the allocation and aborts. The
// report lies wholly inside libQt6WebEngineCore, and ASan has no suppression by library for this
// check, so it is switched off for these suites only.
//
// malloc_context_size=2: keep only the allocator and its caller for each allocation. The leak
// suppressions (lsan.supp) name libraries, and LSan matches them against every frame kept; with
// whole stacks, a leak in one of our handlers called from the engine or the Qt event loop would
// be hidden too. With the caller alone, only what those libraries allocate themselves is
// suppressed. To see deeper allocation stacks of a heap error, run a suite with
// ASAN_OPTIONS=malloc_context_size=30 (leak reports then may be hidden, as said).
//
// Our code in these suites is still checked for heap overflows, use after free, double free
// and leaks. The environment's ASAN_OPTIONS are applied after these and may override them.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "new_delete_type_mismatch=0:malloc_context_size=2";
}
