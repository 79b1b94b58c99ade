#include "option/SettingKeys.h"

namespace mv {

namespace {

constexpr SettingKey Flag(const char* section, const char* key, bool defaultValue, const char* group,
                          const char* caption) {
  return {section, key, SettingKind::Boolean, defaultValue ? 1 : 0, 0, 1, group, caption};
}

constexpr SettingKey Number(const char* section, const char* key, int32_t defaultValue, int32_t minimum,
                            int32_t maximum, const char* group, const char* caption) {
  return {section, key, SettingKind::Integer, defaultValue, minimum, maximum, group, caption};
}

}  // namespace

// The scroll bars take steps of 1 … 32767; the program refuses anything else when it reads the file.
const std::array<SettingKey, 10> kSettingKeys = {
    Flag("Application", "Picture Viewer Mode", true, "表示", "起動時は画像ビューアモードを解除する"),
    Flag("Show", "Tool Message", false, "表示", "計測ツールの案内メッセージを表示しない"),
    Flag("Show", "Progress Bar", false, "表示", "処理中に進捗状況を表示する"),
    Number("Scroll", "Normal", 8, 1, 32767, "スクロール", "スクロールバーの移動量 (ピクセル):"),
    Number("Scroll", "Ctrl", 40, 1, 32767, "スクロール", "マウスホイールの移動量 (ピクセル):"),
    Flag("Application", "No Cache", false, "キャッシュ", "画像のキャッシュを作らない (元に戻せなくなります)"),
    Flag("Cache", "Not Delete For Copy", true, "キャッシュ",
         "新規画像の貼り付けとキャプチャでキャッシュを消さない"),
    Flag("Application", "Paste Short Cut", false, "貼り付け",
         "Ctrl+V で画像中に貼り付ける (新規画像として貼り付けは Ctrl+B)"),
    Flag("Log", "Length And Area", false, "ログ", "長さと面積をログに記録する"),
    Flag("Log", "Two Value Area", false, "ログ", "2値化した白/黒の面積をログに記録する"),
};

}  // namespace mv
