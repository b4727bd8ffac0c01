#include "view3d/accessible_view.h"
#include "view3d/viewport3d.h"
#include <QAccessibleWidget>

namespace view3d {

namespace {

// One picture, named by the program after what it shows; the native window
// it draws into is no part of its own.
class AccessibleView : public QAccessibleWidget {
public:
    explicit AccessibleView(Viewport3D* view) : QAccessibleWidget(view, QAccessible::Graphic) {}

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

QAccessibleInterface* accessibleView(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<Viewport3D*>(object))
        return new AccessibleView(view);
    return nullptr;
}

}

void installAccessibleView()
{
    QAccessible::installFactory(accessibleView);
}

}
