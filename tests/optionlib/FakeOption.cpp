// A stand-in for option.so that answers deterministically from its arguments, so the test can tell
// that every argument and result crosses the boundary intact. Built with all twelve exports, or
// (FAKE_OPTION_PARTIAL) with DirectZoomRatio only.

#include <string>

#include "optionlib/option_abi.h"

static std::string lastText;

extern "C" {

const char* FakeLastText() {
  return lastText.c_str();
}

double DirectZoomRatio(double currentZoom) {
  return currentZoom * 2;
}

#ifndef FAKE_OPTION_PARTIAL
int32_t CompressDialog() {
  return 77;
}

void GetLengthAndUnit(MvLengthAndUnit* result, double length, int32_t unitIndex) {
  result->length = length * 2 + 1;
  result->unitIndex = unitIndex + 1;
  result->reserved = 12345;
}

void ShowVersion(const char* versionText) {
  lastText = std::string("version ") + versionText;
}
void ShowSetting(const char* settingsPath) {
  lastText = std::string("setting ") + settingsPath;
}
int32_t GetAlphaBlendVal() {
  return 128;
}
int32_t TransBackColor() {
  return -1;
}

void GetPointAndSize(const MvPoint* imageSize, int32_t mode, MvPoint* result) {
  result->x = imageSize->x + mode;
  result->y = imageSize->y;
}

void ShowCustomFilter(TMaskArrayEx* record) {
  const int32_t count = record->weights[-1];
  for (int32_t i = 0; i < count; ++i) record->weights[i] = i - 4;
  record->accepted = record->copyMode == 0x42 && record->divisor == 1.0 ? 1 : 0;
  record->divisor = 16;
  record->offset = 3;
  record->copyMode = 0x00CC0020;
  record->preparation = count;
}

static void Describe(MvHistogramRecord* record, const MvImageView* image) {
  record->low = image->width;
  record->high = image->height;
  record->channel = image->bgr[0] + image->bgr[1] * 1000 + image->bgr[2] * 1000000;
  record->fourth = image->stride;
}

void ShowHistgram(const MvImageView* image) {
  lastText = "histogram " + std::to_string(image->width);
}
void GetHistgramHiLow(MvHistogramRecord* record, const MvImageView* image) {
  Describe(record, image);
}
void GetHistgramRange(MvHistogramRecord* record, const MvImageView* image) {
  Describe(record, image);
  record->fourth = -record->fourth;
}
#endif
}
