#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <exception>

namespace murelin {

namespace {

std::function<MsgAnswer(const MessageRequest &)> &messageHandler()
{
    static std::function<MsgAnswer(const MessageRequest &)> handler;
    return handler;
}

std::function<std::vector<std::string>(const OpenDialogRequest &)> &openHandler()
{
    static std::function<std::vector<std::string>(const OpenDialogRequest &)> handler;
    return handler;
}

QString local(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MsgAnswer messageBox(QWidget *parent, const MessageRequest &request)
{
    if (messageHandler())
        return messageHandler()(request);

    QMessageBox box(parent);
    box.setWindowTitle(local(request.caption));
    box.setText(local(request.text));
    switch (request.icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::None:
        break;
    }
    if (request.buttons == MsgButtons::Ok) {
        box.addButton(QMessageBox::Ok);
        box.exec();
        return MsgAnswer::Ok;
    }
    QPushButton *yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    box.setDefaultButton(request.defaultAnswer == MsgAnswer::No ? no
            : request.defaultAnswer == MsgAnswer::Cancel        ? cancel
                                                                : yes);
    box.exec();
    if (box.clickedButton() == yes)
        return MsgAnswer::Yes;
    if (box.clickedButton() == no)
        return MsgAnswer::No;
    return MsgAnswer::Cancel;
}

void showMessage(QWidget *parent, const std::string &text)
{
    messageBox(parent,
        MessageRequest {text, ApplicationTitle, MsgIcon::None, MsgButtons::Ok, MsgAnswer::Ok});
}

void setMessageBoxHandler(std::function<MsgAnswer(const MessageRequest &)> handler)
{
    messageHandler() = std::move(handler);
}

std::vector<std::string> runOpenDialog(QWidget *parent, const OpenDialogRequest &request)
{
    if (openHandler())
        return openHandler()(request);

    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(
        request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // "label|pattern|label|pattern..." becomes Qt's "label (pattern);;..." list.
    QStringList filters;
    const QStringList parts = local(request.filter).split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + u')';
    dialog.setNameFilters(filters);
    QString ext = local(request.defaultExt);
    while (ext.startsWith(u'*') || ext.startsWith(u'.'))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    std::vector<std::string> names;
    if (dialog.exec() != QDialog::Accepted)
        return names;
    for (const QString &name : dialog.selectedFiles()) {
        const QByteArray bytes = QFile::encodeName(name);
        names.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return names;
}

void setOpenDialogHandler(
    std::function<std::vector<std::string>(const OpenDialogRequest &)> handler)
{
    openHandler() = std::move(handler);
}

bool dispatch(QWidget *parent, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception &error) {
        showMessage(parent, error.what());
    } catch (...) {
        showMessage(parent, "Unknown error");
    }
    return false;
}

} // namespace murelin
