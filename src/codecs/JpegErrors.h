#pragma once
// The libjpeg error manager used by the reader and the writer. libjpeg reports a fatal error by
// calling error_exit, which must not return; ours jumps back with longjmp. Every function that calls
// into libjpeg under this manager calls setjmp itself and owns no C++ object with a destructor, so
// the jump never skips a destructor; the caller turns the failure into a CodecError.

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace mv {

struct JpegErrors {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  const char* ownMessage = nullptr;  // a failure raised by our own checks, not by libjpeg

  // Warnings: whether the data ended early, and where the decoder stood when it did.
  bool endedEarly = false;
  int endScan = 0;
  unsigned endRow = 0;

  JpegErrors();
  // Raises a failure of our own from inside a libjpeg callback.
  [[noreturn]] void Fail(j_common_ptr info, const char* text);
};

}  // namespace mv
