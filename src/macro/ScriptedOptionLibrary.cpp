#include "macro/ScriptedOptionLibrary.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>

#include "macro/MacroExit.h"
#include "macro/MacroScript.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace mv {

namespace {

// The value counts of each export's answer (after the export's name).
const std::map<std::string, std::size_t>& ValueCounts() {
  static const std::map<std::string, std::size_t> counts = {
      {"CompressDialog", 1},    {"GetLengthAndUnit", 2}, {"DirectZoomRatio", 1},  {"GetPointAndSize", 2},
      {"GetAlphaBlendVal", 1},  {"TransBackColor", 1},   {"GetHistgramHiLow", 4}, {"GetHistgramRange", 4},
      {"ShowCustomFilter", 15}, {"ShowSetting", 0},      {"ShowVersion", 0},      {"ShowHistgram", 0}};
  return counts;
}

bool IsNumber(const std::string& token) {
  char* end = nullptr;
  std::strtod(token.c_str(), &end);
  return !token.empty() && end == token.c_str() + token.size();
}

class ScriptedSession : public OptionSession {
 public:
  ScriptedSession(AnswerQueue& answers, std::ostream& out, const std::string& programFolder)
      : answers_(answers), out_(out), programFolder_(programFolder) {}

  int32_t CompressDialog() override { return Integer(Take("CompressDialog"), 0); }

  LengthAndUnit GetLengthAndUnit(double, int32_t) override {
    const auto values = Take("GetLengthAndUnit");
    return {Number(values, 0), Integer(values, 1)};
  }

  void ShowVersion(const std::string&) override { Take("ShowVersion"); }

  // The dialog edits the settings file itself: the answer's SECTION KEY VALUE triples are written.
  void ShowSetting(const std::string& settingsPath) override {
    const auto values = Take("ShowSetting");
    if (values.empty()) return;
    // The rest of the file is kept, so a file that cannot be read is not written over.
    std::optional<IniFile> read = IniFile::Read(settingsPath);
    if (!read) throw IniWriteError(settingsPath, "the file cannot be read; the settings were not saved");
    IniFile& ini = *read;
    for (std::size_t i = 0; i + 2 < values.size(); i += 3)
      ini.WriteString(values[i], values[i + 1], values[i + 2]);
    ini.Save(settingsPath);
  }

  int32_t GetAlphaBlendVal() override { return Integer(Take("GetAlphaBlendVal"), 0); }
  int32_t TransBackColor() override { return Integer(Take("TransBackColor"), 0); }
  double DirectZoomRatio(double) override { return Number(Take("DirectZoomRatio"), 0); }

  Point GetPointAndSize(Point, int32_t) override {
    const auto values = Take("GetPointAndSize");
    return {Integer(values, 0), Integer(values, 1)};
  }

  void ShowCustomFilter(CustomFilterRecord& record) override {
    const auto values = Take("ShowCustomFilter");
    record.accepted = values[0] == "ok";
    if (!record.accepted) return;
    for (std::size_t i = 0; i < 9; ++i) record.weights[i] = Integer(values, i + 1);
    record.divisor = Number(values, 10);
    record.offset = Integer(values, 11);
    record.copyMode = static_cast<uint32_t>(std::strtoll(values[12].c_str(), nullptr, 0));
    record.preparation = Integer(values, 13);
    std::ofstream(programFolder_ + "/~filter.tmp", std::ios::binary) << values[14] << "\r\n";
  }

  void ShowHistgram(const Bitmap&) override { Take("ShowHistgram"); }

  HistogramRecord GetHistgramHiLow(const Bitmap&) override { return Histogram(Take("GetHistgramHiLow")); }
  HistogramRecord GetHistgramRange(const Bitmap&) override { return Histogram(Take("GetHistgramRange")); }

 private:
  std::vector<std::string> Take(const std::string& exportName) {
    auto answer = answers_.Take("lib", [&](const Answer& a) { return a.values.front() == exportName; });
    if (!answer) {
      out_ << "unanswered lib " << Quote(exportName) << '\n';
      throw MacroExit{kMacroUnanswered};
    }
    return {answer->values.begin() + 1, answer->values.end()};
  }

  static int32_t Integer(const std::vector<std::string>& values, std::size_t i) {
    return static_cast<int32_t>(std::strtol(values[i].c_str(), nullptr, 10));
  }
  static double Number(const std::vector<std::string>& values, std::size_t i) {
    return std::strtod(values[i].c_str(), nullptr);
  }
  static HistogramRecord Histogram(const std::vector<std::string>& values) {
    return {Integer(values, 0), Integer(values, 1), Integer(values, 2), Integer(values, 3)};
  }

  AnswerQueue& answers_;
  std::ostream& out_;
  const std::string& programFolder_;
};

}  // namespace

std::unique_ptr<OptionSession> ScriptedOptionLibrary::Load() {
  if (answers_.Take("lib", [](const Answer& a) { return a.values.front() == "missing"; })) {
    throw OptionLibraryMissing(std::string(kOptionLibraryFile) + " missing by the macro");
  }
  return std::make_unique<ScriptedSession>(answers_, out_, programFolder_);
}

std::string ScriptedOptionLibrary::CheckAnswer(const std::vector<std::string>& values) {
  if (values.empty()) return "answer lib needs an export name or missing";
  const std::string& name = values.front();
  if (name == "missing") return values.size() == 1 ? "" : "answer lib missing takes no values";
  const auto count = ValueCounts().find(name);
  if (count == ValueCounts().end()) return "unknown export " + name;
  const std::size_t given = values.size() - 1;
  if (name == "ShowSetting") return given % 3 == 0 ? "" : "ShowSetting takes SECTION KEY VALUE triples";
  if (name == "ShowCustomFilter") {
    if (given == 0 || (values[1] != "ok" && values[1] != "cancel"))
      return "ShowCustomFilter needs ok or cancel";
    if (values[1] == "cancel") return "";
    if (given != count->second)
      return "ShowCustomFilter ok needs nine weights, divisor, offset, copy mode, preparation and name";
    for (std::size_t i = 2; i + 1 < values.size(); ++i) {
      if (!IsNumber(values[i])) return "not a number: " + values[i];
    }
    return "";
  }
  if (given != count->second) return name + " takes " + std::to_string(count->second) + " values";
  for (std::size_t i = 1; i < values.size(); ++i) {
    if (!IsNumber(values[i])) return "not a number: " + values[i];
  }
  return "";
}

}  // namespace mv
