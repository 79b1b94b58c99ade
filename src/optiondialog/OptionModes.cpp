#include "optiondialog/OptionModes.h"

#include "platform/Numbers.h"

// The rows name only what a mode sets; every other member keeps its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace mv {

namespace {

SliderSetup Slider(std::string caption, int minimum, int maximum, int position, int tick,
                   std::string low = "", std::string high = "", ReadOut readOut = ReadOut::Position) {
  return SliderSetup{std::move(caption), minimum,         maximum, position, tick,
                     std::move(low),     std::move(high), readOut};
}

const RadioSetup kEdgeFilters{
    "フィルタの選択",
    {"差分フィルタ1", "差分フィルタ2", "Robertsフィルタ", "Prewittフィルタ", "Sobelフィルタ",
     "細線検出フィルタ", "エッジ検出フィルタ", "ラプラシアン１", "ラプラシアン２", "ラプラシアン３"},
    4,
    "細線は幅1ピクセルの線を検出します"};
const RadioSetup kEvaluation{"ピクセルの評価方法",
                             {"ΔX＋ΔY", "Max（ΔX、ΔY）", "ΔX、ΔYの2乗平均"},
                             2,
                             "ラプラシアンを選択した時は無効"};
const PanelSetup kTransparentColour{"透過色", "無し", std::nullopt};
const RadioSetup kSharpenMasks{"使用するマスク", {"4方向", "8方向"}, 0, "8方向マスクの方が緩いです"};

std::vector<ModeSetup> MakeModes() {
  std::vector<ModeSetup> modes;
  modes.reserve(32);  // rows are copied from references to earlier rows
  const auto add = [&modes](ModeSetup setup) -> ModeSetup& { return modes.emplace_back(std::move(setup)); };
  add({.mode = 0, .title = "GIF形式の保存オプション", .panel = kTransparentColour, .helpTopic = "s003"});
  add({.mode = 1,
       .title = "PNG形式の保存オプション",
       .slider1 = Slider("圧縮率", -1, 9, 9, 1, "低圧縮", "高圧縮"),
       .panel = kTransparentColour,
       .gammaEntry = true,
       .timeBox = true,
       .helpTopic = "s004"});
  add({.mode = 2,
       .title = "ガンマ値の指定",
       .slider1 = Slider("ガンマ値", 0, 1000, 100, 100, "暗い", "明るい", ReadOut::Hundredths),
       .helpTopic = "h202",
       .preview = PreviewKind::ColourFunction});
  add({.mode = 3,
       .title = "コントラストの切り捨て範囲の指定",
       .slider1 = Slider("係数", -100, 500, 0, 50, "ゆるい", "きつい"),
       .helpTopic = "h203",
       .preview = PreviewKind::ColourFunction});
  add({.mode = 4,
       .title = "明るさのオフセットの指定",
       .slider1 = Slider("オフセット", -255, 255, 0, 64, "暗い", "明るい"),
       .helpTopic = "h201",
       .preview = PreviewKind::ColourFunction});
  add({.mode = 5,
       .title = "ソフトの強さの指定",
       .slider1 = Slider("強さ", -40, 10, 0, 10, "", "よりソフト", ReadOut::Tenths),
       .helpTopic = "h301",
       .preview = PreviewKind::Neighbourhood});
  add({.mode = 6,
       .title = "平均化の強さの指定",
       .slider1 = Slider("強さ", -5, 0, -5, 1, "弱い", "強い", ReadOut::PlusFive),
       .helpTopic = "h303",
       .preview = PreviewKind::Neighbourhood});
  add({.mode = 7,
       .title = "基底色の指定",
       .radio1 = RadioSetup{"フィルタの選択",
                            {"水平方向検出", "垂直方向検出", "斜め方向検出1", "斜め方向検出2",
                             "水平垂直方向検出", "全斜め方向検出", "強エンボスフィルタ"},
                            6,
                            ""},
       .panel = PanelSetup{"基底色", "", MakeColor(128, 0, 0)},
       .helpTopic = "h401",
       .preview = PreviewKind::Emboss});
  add({.mode = 8,
       .title = "2値化のしきい値の指定",
       .slider1 = Slider("しきい値", 0, 255, 128, 16, "白っぽい", "黒っぽい"),
       .radio2 =
           RadioSetup{
               "白黒の判別に使う輝度", {"RGBの平均", "RGBの最大値", "RGBの最小値"}, 0, "平均がお奨めです"},
       .helpTopic = "h206",
       .preview = PreviewKind::ColourFunction});
  add({.mode = 9,
       .title = "選択するデータの指定",
       .slider1 = Slider("順位", 1, 9, 5, 1),
       .helpTopic = "h304",
       .preview = PreviewKind::Neighbourhood});
  add({.mode = 10,
       .title = "線画のオプション",
       .radio1 = kEdgeFilters,
       .radio2 = kEvaluation,
       .helpTopic = "h311",
       .preview = PreviewKind::Edges});
  add({.mode = 11,
       .title = "輪郭強調のオプション",
       .slider2 = Slider("係数", 1, 100, 10, 10, "小さい", "大きい", ReadOut::Tenths),
       .radio1 = kEdgeFilters,
       .radio2 = kEvaluation,
       .helpTopic = "h309",
       .preview = PreviewKind::Edges});
  add({.mode = 13,
       .title = "ポスタリゼーションの分割数",
       .slider1 = Slider("分割数", 2, 255, 6, 32, "粗い", "細かい"),
       .helpTopic = "h210",
       .preview = PreviewKind::ColourFunction});
  add({.mode = 14,
       .title = "誤差拡散のオプション",
       .slider1 = Slider("係数", -30, 30, 10, 10, "変化小さい", "ぼんやり", ReadOut::Tenths),
       .radio1 = RadioSetup{"係数（右 左下 下 右下）",
                            {"-4 -4 -4 -4", "-6 -2 -6 -2", "-2 -6 -2 -6", "-7 -3 -5 -1", "-4 -1 -9 -2"},
                            0,
                            "Floyd-Steinbergの係数"},
       .helpTopic = "h302",
       .preview = PreviewKind::Neighbourhood});
  add({.mode = 15,
       .title = "ソラリゼーションの波形の設定",
       .slider1 = Slider("波数", 1, 255, 5, 32),
       .radio1 = RadioSetup{"使用する波形",
                            {"山状", "谷状", "のこぎり状（右上がり）", "のこぎり状（右下がり）", "sinカーブ",
                             "cosカーブ"},
                            0,
                            ""},
       .helpTopic = "h209",
       .preview = PreviewKind::ColourFunction});
  add({.mode = 16,
       .title = "ガウスぼかしの強さ",
       .slider1 = Slider("強さ", 1, 20, 1, 5, "弱い", "強い"),
       .helpTopic = "h306",
       .preview = PreviewKind::Neighbourhood});
  add({.mode = 17,
       .title = "XORの値",
       .slider1 = Slider("値", 0, 255, 128, 32),
       .helpTopic = "h001",
       .preview = PreviewKind::ColourFunction});
  ModeSetup& sharpen = add({.mode = 18,
                            .title = "シャープの強さ",
                            .slider1 = Slider("値", 0, 20, 10, 5, "弱い", "強い"),
                            .radio1 = kSharpenMasks,
                            .helpTopic = "h307",
                            .preview = PreviewKind::Neighbourhood});
  ModeSetup sharpen19 = sharpen;
  sharpen19.mode = 19;
  sharpen19.helpTopic = "h001";
  add(std::move(sharpen19));
  add({.mode = 20,
       .title = "モザイクの大きさ",
       .slider1 = Slider("値", 2, 100, 10, 5, "小さい", "大きい"),
       .helpTopic = "h404",
       .preview = PreviewKind::Blocks});
  ModeSetup& wave = add({.mode = 21,
                         .title = "波動の設定",
                         .slider1 = Slider("波長", 1, 1000, 10, 100, "長い", "短い"),
                         .slider2 = Slider("振幅", 0, 255, 127, 5, "小さい", "大きい"),
                         .helpTopic = "h405",
                         .preview = PreviewKind::ColourFunction});
  ModeSetup strangeWave = wave;
  strangeWave.mode = 22;
  strangeWave.helpTopic = "h406";
  add(std::move(strangeWave));
  const auto blurLike = [&](int mode, const char* title, const char* topic, PreviewKind preview) {
    add({.mode = mode,
         .title = title,
         .slider1 = Slider("大きさ", 0, 20, 0, 5, "狭い", "広い"),
         .slider2 = Slider("係数", 1, 100, 10, 10, "小さい", "大きい", ReadOut::Tenths),
         .helpTopic = topic,
         .preview = preview});
  };
  blurLike(100, "ぼかしの強さの指定", "h305", PreviewKind::Neighbourhood);
  blurLike(101, "アンシャープマスクのオプション", "h308", PreviewKind::Unsharp);
  blurLike(102, "エッジ検出のオプション", "h310", PreviewKind::Unsharp);
  add({.mode = 200,
       .title = "ブレの設定",
       .slider1 = Slider("大きさ", 1, 20, 1, 5),
       .radio1 = RadioSetup{"ブレの方向", {"水平方向", "垂直方向", "左上－右下", "左下－右上"}, 0, ""},
       .helpTopic = "h402",
       .preview = PreviewKind::Neighbourhood});
  add({.mode = 210,
       .title = "風の設定",
       .slider1 = Slider("大きさ", 1, 20, 1, 5),
       .radio1 = RadioSetup{"風の方向",
                            {"右→左方向", "左→右方向", "下→上方向", "上→下方向", "右下→左上", "左上→右下",
                             "左下→右上", "右上→左下"},
                            0,
                            ""},
       .helpTopic = "h403",
       .preview = PreviewKind::Neighbourhood});
  return modes;
}

}  // namespace

const ModeSetup* FindModeSetup(int mode) {
  static const std::vector<ModeSetup> modes = MakeModes();
  for (const ModeSetup& setup : modes) {
    if (setup.mode == mode) return &setup;
  }
  return nullptr;
}

std::string TransHelpTopic(int mode) {
  const ModeSetup* setup = FindModeSetup(mode);
  return setup != nullptr ? setup->helpTopic : "h001";
}

std::string ReadOutText(ReadOut rule, int position) {
  switch (rule) {
    case ReadOut::Hundredths:
      return FormatG(static_cast<Extended>(position) / 100, 15);
    case ReadOut::Tenths:
      return FormatG(static_cast<Extended>(position) / 10, 15);
    case ReadOut::PlusFive:
      return IntToStr(int64_t{position} + 5);
    case ReadOut::Position:
      break;
  }
  return IntToStr(position);
}

}  // namespace mv
