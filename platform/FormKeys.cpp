#include "platform/FormKeys.h"

#include <QWidget>

namespace platform {

void CloseOnEscape(QWidget* form, int key) {
    if (key == Qt::Key_Escape)
        form->close();
}

} // namespace platform
