#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>

#include "core/latin1.h"
#include "document/data_file.h"

namespace zelkon {

PromptAnswer QtPrompts::Ask(std::string_view text, PromptButtons buttons) {
    QMessageBox box(QMessageBox::Question, ToQt(MessageCaption), ToQt(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    switch (buttons) {
        case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case PromptButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        case QMessageBox::Ok: return PromptAnswer::Ok;
        default: return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    }
}

void QtPrompts::Tell(std::string_view text) {
    QMessageBox box(QMessageBox::Information, ToQt(MessageCaption), ToQt(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtPrompts::Beep() { QApplication::beep(); }

namespace {

QtPrompts& RealPrompts() {
    static QtPrompts prompts;
    return prompts;
}

QString ChooseFileWithDialog(QWidget* parent, const FileDialogRequest& request) {
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(parent, request);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().constFirst();
}

// The file dialog's size: room for a name column and the size, type and date columns.
constexpr int FileDialogWidth = 860;
constexpr int FileDialogHeight = 540;

void InstallRealServices(UiServices& services) {
    services.prompts = &RealPrompts();
    services.runDialog = [](QDialog& dialog) { return dialog.exec(); };
    services.chooseFile = ChooseFileWithDialog;
}

}  // namespace

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const FileDialogRequest& request) {
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.folder);
    dialog->setNameFilters(request.filters);
    dialog->setDefaultSuffix(request.defaultSuffix);
    dialog->setViewMode(QFileDialog::Detail);
    if (request.kind == FileDialogRequest::Kind::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        if (!request.fileName.isEmpty()) dialog->selectFile(request.fileName);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    dialog->resize(ScreenShareSize(parent, 0.9, 0.8).boundedTo(QSize(FileDialogWidth, FileDialogHeight)));
    // The size, type and date columns take the width their texts need; the name the rest.
    if (auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    return dialog;
}

QSize ScreenShareSize(const QWidget* near, double widthShare, double heightShare, const QSize& minimum) {
    const QScreen* screen = near != nullptr && near->screen() != nullptr ? near->screen()
                                                                          : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize share(static_cast<int>(area.width() * widthShare), static_cast<int>(area.height() * heightShare));
    return share.expandedTo(minimum).boundedTo(area.size());
}

UiServices& Services() {
    static UiServices services = [] {
        UiServices s;
        InstallRealServices(s);
        return s;
    }();
    return services;
}

void ResetServices() {
    UiServices& services = Services();
    InstallRealServices(services);
    services.numberTitleMemory = NumberTitleQuestionMemory{};
}

Separators SystemSeparators() {
    Separators s;
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) {
        s.decimal = static_cast<char>(point.at(0).unicode());
    }
    s.list = s.decimal == ',' ? ';' : ',';
    return s;
}

QString ToQt(std::string_view latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

std::string FromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToLatin1(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString LabelText(std::string_view caption) {
    QString text = ToQt(caption);
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return text;
}

QString ShownNumber(std::string_view engineNumber) {
    QString text = ToQt(engineNumber);
    const char decimal = Services().separators.decimal;
    if (decimal != '.' && decimal != '\0') text.replace(QLatin1Char('.'), QLatin1Char(decimal));
    return text;
}

std::string IoErrorMessageText(std::int32_t code) {
    const std::string text = IoErrorText(code);
    return text.empty() ? "Error: #" + std::to_string(code) : text;
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace zelkon
