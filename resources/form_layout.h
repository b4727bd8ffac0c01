#pragma once
// The window definitions: every position, size, text, limit and window colour
// of the main window, its control column and the search-progress window.
#include <QRect>
#include <QRgb>
#include <QSize>

namespace resources {

struct ButtonDef {
    QRect rect;
    const char* caption;
};

// What a screen reader says of a control that shows no text of its own:
// its name and what it does.
struct SpokenDef {
    const char* name;
    const char* description;
};

struct ScrollBarDef {
    QRect rect;
    double min, max, value, smallChange;
    SpokenDef spoken;
};

struct DialDef {
    QRect rect;
    SpokenDef spoken;
};

namespace form1 {
inline constexpr const char* caption = "Ruk's 画像ビューアー";
inline constexpr QSize clientSize{800, 600};
inline constexpr QRgb background = 0xFFE6E6E6;
inline constexpr QRgb viewBackground = 0xFF000000;

inline constexpr int panel1Width = 184;  // docked right, full height
inline constexpr int panel2Height = 361; // docked top of Panel1

// Inside Panel2; tab order: B_Quit, B_After, B_Before.
inline constexpr ButtonDef quit{{8, 8, 169, 41}, "終了"};
inline constexpr QRect label1{8, 56, 169, 33};
inline constexpr const char* label1Text = "画像の入ったフォルダをドラッグ＆ドロップすると表示します";
inline constexpr ButtonDef before{{8, 96, 80, 49}, "前へ"};
inline constexpr ButtonDef after{{96, 96, 80, 49}, "次へ"};
inline constexpr ScrollBarDef sbV{{8, 161, 33, 152}, -40, 40, 0, 1, {"上下", "カメラを上下に動かします"}};
inline constexpr DialDef arcDial1{{48, 208, 105, 105}, {"回転", "手前の画像をその面の中で回します"}};
inline constexpr ScrollBarDef sbH{{8, 320, 169, 33}, -30, 30, 0, 1, {"左右", "カメラを左右に動かします"}};

inline constexpr const char* quitQuestion = "終了しますよろしいですか？";
inline constexpr const char* quitTitle = "確認";
inline constexpr const char* openError = "ファイル %1 は開けません。 %2 ";
}

namespace form2 {
inline constexpr const char* caption = "ファイル検索中";
inline constexpr QSize clientSize{219, 121};
inline constexpr QRgb background = 0xFFF1F1F1;
inline constexpr QRect aniIndicator1{80, 24, 50, 50};
}

}
