#include "KestuDesign/Utilities/KestuCheckable.h"

#include <QAbstractButton>
#include <QSignalBlocker>

namespace kestu {

void showChecked(QAbstractButton* button, bool checked)
{
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

void actOnCheckedChange(QAbstractButton* button, std::function<void(bool)> apply, std::function<bool()> stored)
{
    QObject::connect(button, &QAbstractButton::toggled, button,
        [button, apply = std::move(apply), stored = std::move(stored)](bool checked) {
            apply(checked);
            showChecked(button, stored());
        });
}

} // namespace kestu
