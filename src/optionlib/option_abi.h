/* The C interface of option.so, the library of modal dialogs the program loads per call.
 *
 * Both the program and the library include this header. Every export is extern "C" with the
 * platform's normal calling convention; strings are UTF-8, zero-terminated; images cross the
 * boundary as MvImageView (24-bit rows in blue, green, red order). The program loads the library,
 * looks up one export by name, calls it and unloads the library again, on every path. */
#ifndef MIRVANE_OPTION_ABI_H
#define MIRVANE_OPTION_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct MvImageView {
  int32_t width;
  int32_t height;
  int32_t stride; /* bytes from one row to the next, rows top-down */
  const uint8_t* bgr;
} MvImageView;

typedef struct MvPoint {
  int32_t x;
  int32_t y;
} MvPoint;

/* The 16-byte result block of GetLengthAndUnit. A length of 0 means cancelled. */
typedef struct MvLengthAndUnit {
  double length;
  int32_t unitIndex; /* 0 "μm", 1 "mm", 2 "cm", 3 "m" */
  int32_t reserved;
} MvLengthAndUnit;

/* The record of the two histogram dialogs, zero-filled before the call. */
typedef struct MvHistogramRecord {
  int32_t low;
  int32_t high;
  int32_t channel; /* or the status: -2 error, -1 cancelled */
  int32_t fourth;  /* GetHistgramHiLow: the operation; GetHistgramRange: the fill colour */
} MvHistogramRecord;

/* The custom-filter record. `weights` points at element 0 of a counted array laid out as
 * [int32 refcount][int32 count][elements...]: the count is weights[-1]. The dialog writes the
 * elements and must not resize the array. */
typedef struct TMaskArrayEx {
  uint8_t accepted; /* non-zero when the user confirmed */
  int32_t* weights;
  double divisor;
  int32_t offset;
  uint32_t copyMode;   /* a ternary raster-operation code */
  int32_t preparation; /* 1 fill white first, 2 fill black first */
  int32_t reserved;
} TMaskArrayEx;

#ifdef __cplusplus
static_assert(offsetof(TMaskArrayEx, weights) == 8 && offsetof(TMaskArrayEx, divisor) == 16 &&
                  offsetof(TMaskArrayEx, offset) == 24 && offsetof(TMaskArrayEx, copyMode) == 28 &&
                  offsetof(TMaskArrayEx, preparation) == 32 && offsetof(TMaskArrayEx, reserved) == 36,
              "TMaskArrayEx keeps its field order with natural alignment");
static_assert(sizeof(MvLengthAndUnit) == 16, "the length result block is 16 bytes");
#endif

/* The twelve exports, as function types. */
typedef int32_t MvCompressDialog(void); /* JPEG quality 1..100; 0 cancelled */
/* Optional: the same dialog for this image, showing the file's size at the chosen quality. The
 * program uses it when the library has it and CompressDialog otherwise. */
typedef int32_t MvCompressDialogFor(const MvImageView* image);
typedef void MvGetLengthAndUnit(MvLengthAndUnit* result, double length, int32_t unitIndex);
typedef void MvShowVersion(const char* versionText);
typedef void MvShowSetting(const char* settingsPath); /* edits that file itself */
typedef int32_t MvGetAlphaBlendVal(void);             /* 0..255; negative cancelled */
typedef int32_t MvTransBackColor(void);               /* 0..255; negative cancelled */
typedef double MvDirectZoomRatio(double currentZoom); /* > 0 new ratio, 0 cancelled, < 0 error */
/* mode 0: enter a coordinate, 1: a new image size; result (-1,-1) cancelled, (-2,-2) error */
typedef void MvGetPointAndSize(const MvPoint* imageSize, int32_t mode, MvPoint* result);
typedef void MvShowCustomFilter(TMaskArrayEx* record);
typedef void MvShowHistgram(const MvImageView* image);
typedef void MvGetHistgramHiLow(MvHistogramRecord* record, const MvImageView* image);
typedef void MvGetHistgramRange(MvHistogramRecord* record, const MvImageView* image);

#ifdef __cplusplus
}
#endif

#endif /* MIRVANE_OPTION_ABI_H */
