// The services every window of the desktop program shares: the one message service (message
// boxes captioned "Kestrane Zelkon"), the runner of modal dialogs, the file chooser, the
// user's separators and the memory of the number-as-title question.  Tests replace the
// message service, the dialog runner and the file chooser, so nothing ever blocks on a modal
// window.  Also the conversions between Qt text and the engine's Latin-1 text.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform.h"
#include "document/data_set.h"

class QDialog;
class QFileDialog;
class QWidget;

namespace zelkon {

/// Message boxes with the caption "Kestrane Zelkon" and only the buttons asked for.
class QtPrompts final : public UserPrompts {
public:
    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override;
    void Tell(std::string_view text) override;
    void Beep() override;
};

/// What a file dialog is asked for.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString folder;        ///< folder the dialog starts in
    QString fileName;      ///< name shown at the start (save dialogs)
    QStringList filters;   ///< "Zelkon data file (*.ZLD *.zld)", ...
    QString defaultSuffix; ///< added to a name typed without one ("ZLD")
};

/// The shared services.  Every member may be replaced (tests script them).
struct UiServices {
    /// The one message service.
    UserPrompts* prompts = nullptr;
    /// Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
    std::function<int(QDialog&)> runDialog;
    /// Asks for a file name; empty when cancelled.
    std::function<QString(QWidget* parent, const FileDialogRequest&)> chooseFile;
    /// The user's decimal and list separators.
    Separators separators;
    /// The user answered No to the number-as-title question in this run of the program.
    NumberTitleQuestionMemory numberTitleMemory;
};

/// The file dialog of a request, sized so that its texts fit: wide enough for the name, size,
/// type and date columns (each as wide as its texts), within the screen.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const FileDialogRequest& request);

/// A dialog's size for the share of the screen's available area it should take (at most the
/// whole area, at least `minimum`).
QSize ScreenShareSize(const QWidget* near, double widthShare, double heightShare,
                      const QSize& minimum = {});

/// The services of the program (set to the real ones on first use).
UiServices& Services();
/// Puts the real message boxes, dialogs and file dialogs back.
void ResetServices();

/// The separators of the system's regional settings: the locale's decimal point and, as list
/// separator, ";" where the decimal point is "," and "," otherwise.
Separators SystemSeparators();

/// The message of an input/output error code of the data file layer ("Error: #" and the
/// code when the table has no text for it).
std::string IoErrorMessageText(std::int32_t code);

/// The busy cursor for the life of the object.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Text ------------------------------------------------------------------------------------

/// Engine text (Latin-1) to Qt.
QString ToQt(std::string_view latin1);
/// Qt text to engine text: characters outside Latin-1 and the C1 range become "?".
std::string FromQt(const QString& text);
/// A stored caption shown on a label: "&&" reads as one ampersand.
QString LabelText(std::string_view caption);
/// A number of the engine (written with ".") as the screen shows it: with the user's decimal
/// separator.  Files and the clipboard's engine texts keep ".".
QString ShownNumber(std::string_view engineNumber);

}  // namespace zelkon
