#pragma once
// The search-progress window, shown while pictures are collected. It has no
// behaviour of its own; its busy indicator moves only while pending events are
// processed.
#include <QWidget>

namespace widgets {
class BusyIndicator;
}

class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();

    widgets::BusyIndicator* AniIndicator1 = nullptr;
};
