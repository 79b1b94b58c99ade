#include "codecs/JpegErrors.h"

#include <cstring>

#include <jerror.h>

namespace mv {

namespace {

JpegErrors& ErrorsOf(j_common_ptr info) {
  return *reinterpret_cast<JpegErrors*>(info->err);
}

[[noreturn]] void ExitByJump(j_common_ptr info) {
  JpegErrors& errors = ErrorsOf(info);
  if (errors.ownMessage == nullptr) (*info->err->format_message)(info, errors.message);
  std::longjmp(errors.jump, 1);
}

// Warnings are not printed; the reader only needs to know whether and where the data ran out.
void NoteMessage(j_common_ptr info, int level) {
  JpegErrors& errors = ErrorsOf(info);
  if (level >= 0) return;
  ++info->err->num_warnings;
  // The data ends early when the file does, or when a marker interrupts the entropy-coded data.
  const int code = info->err->msg_code;
  if ((code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) && !errors.endedEarly && info->is_decompressor) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    errors.endedEarly = true;
    errors.endScan = decompress->input_scan_number;
    errors.endRow = decompress->input_iMCU_row;
  }
}

}  // namespace

JpegErrors::JpegErrors() {
  static_assert(offsetof(JpegErrors, manager) == 0, "libjpeg sees the manager as the whole object");
  jpeg_std_error(&manager);
  manager.error_exit = ExitByJump;
  manager.emit_message = NoteMessage;
}

void JpegErrors::Fail(j_common_ptr info, const char* text) {
  ownMessage = text;
  ExitByJump(info);
}

}  // namespace mv
