// The about window, shown as the splash screen while the program starts.
#pragma once

#include <QWidget>

namespace zelkon {

class TAboutForm : public QWidget {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};

}  // namespace zelkon
