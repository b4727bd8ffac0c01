#include "app/form2.h"
#include "resources/form_layout.h"
#include "resources/look.h"
#include "widgets/busy_indicator.h"

namespace layout = resources::form2;

TForm2::TForm2()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QString::fromUtf8(layout::caption));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(layout::clientSize);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgba(layout::background));
    setPalette(palette);

    AniIndicator1 = new widgets::BusyIndicator(resources::busyIndicatorLook(), this);
    AniIndicator1->setGeometry(layout::aniIndicator1);
}
