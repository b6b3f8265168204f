#include "messages/message_boxes.h"

#include "data/ini.h"
#include "messages/message_icons.h"
#include "messages/message_options.h"
#include "messages/neat_message.h"
#include "messages/screen_font.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace saldora::message_box {
namespace {

namespace ws = settings::window_state;
constexpr std::string_view kBoxSection = settings::window::neatMessage;

QString displayed(const FormattedText& text) {
    QStringList lines;
    for (const auto& l : text.lines)
        lines << QString::fromStdString(l);
    return lines.join('\n');
}

QString caption(const Message& m) {
    return QString::fromStdString(m.caption.empty() ? std::string(defaultCaption) : m.caption);
}

std::optional<int> storedCoordinate(const std::string& file, std::string_view key) {
    std::string v = ini::read(file, kBoxSection, key);
    if (v.find_first_not_of(' ') == std::string::npos) return std::nullopt;
    return static_cast<int>(ini::readNumber(file, kBoxSection, key, 0));
}

// Centred on the window in front (or the screen), or where the box was last left; then kept
// inside the visible desktop.
void place(QWidget& box, const std::string* kveltFile) {
    const QSize size = box.size();
    QWidget* front = QApplication::activeWindow();
    QScreen* screen = front ? front->screen() : QGuiApplication::primaryScreen();
    QPoint centre = front ? front->frameGeometry().center() : screen->availableGeometry().center();
    QPoint at = centre - QPoint(size.width() / 2, size.height() / 2);
    if (kveltFile) {
        auto x = storedCoordinate(*kveltFile, ws::xPos), y = storedCoordinate(*kveltFile, ws::yPos);
        if (x && y) at = QPoint(*x, *y);
        if (QScreen* s = QGuiApplication::screenAt(at)) screen = s;
    }
    const QRect area = screen->availableGeometry();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    box.move(at);
}

// The box cannot be resized, so its size is written blank. A position that cannot be written is
// only a position not remembered: nothing to tell the user about.
void savePosition(const QWidget& box, const std::string& kveltFile) {
    const std::pair<std::string_view, std::string> keys[] = {{ws::maximize, std::string(ws::no)},
                                                             {ws::minimize, std::string(ws::no)},
                                                             {ws::xPos, std::to_string(box.x())},
                                                             {ws::yPos, std::to_string(box.y())},
                                                             {ws::width, ""},
                                                             {ws::height, ""}};
    for (const auto& [key, value] : keys)
        if (!ini::write(kveltFile, kBoxSection, key, value)) return;
}

// Runs when the scope ends, however it ends.
template <class F> struct AtExit {
    F f;
    ~AtExit() { f(); }
};
template <class F> AtExit(F) -> AtExit<F>;

} // namespace

MessageBoxes::MessageBoxes(Setup setup)
    : setup_(std::move(setup)), haltHooked_(setup_.hooks.halt == 1) {
    if (!setup_.variant) setup_.variant = &saldoraVariant;
    if (setup_.files.messages.empty())
        setup_.files =
            messageFilesIn(".", setup_.variant->messagesFile, setup_.variant->mesContrFile);
}

int MessageBoxes::show(const Message& message) {
    return setup_.hooks.message == 1 && !boxOpen_ ? neatMessage(message) : runtimeBox(message);
}

// The stop and halt procedures show their boxes as any message is shown; without them in place
// the toolkit's own box shows the same.
int MessageBoxes::showAs(bool hooked, const Message& message) {
    return hooked ? show(message) : runtimeBox(message);
}

int MessageBoxes::neatMessage(const Message& message) {
    const MessageVariant& variant = *setup_.variant;
    MessageOptions* options = variant.oneShotOptions ? &currentMessageOptions() : nullptr;
    const MessageOptions used = options ? *options : MessageOptions{};
    boxOpen_ = true;
    AtExit done{[&] {
        if (options) options->clear();
        boxOpen_ = false;
    }};

    FormattedText text = formatText(message.text);
    ButtonRow row = makeButtons(message.buttons, message.defaultButton, variant);
    if (variant.screenFont) loadScreenFont(screenFont(), setup_.kveltFile);

    NeatMessage::Content content;
    content.text = text;
    content.caption = message.caption;
    content.icon = message.icon;
    content.buttons = row;
    content.style = textStyle(text.letter, used.align, used.fontStyle);
    content.useColor = used.useColor;
    content.color = used.color;
    content.screenFont = variant.screenFont ? &screenFont() : nullptr;
    NeatMessage box(std::move(content));
    place(box, variant.storedPosition ? &setup_.kveltFile : nullptr);

    const int answer = box.exec();
    if (variant.storedPosition) savePosition(box, setup_.kveltFile);
    if (box.answeredByButton() && row.record) {
        // Still counted as an open box: the stop that reports the failure uses the plain box.
        if (Status s = recordMessage(setup_.files, text.text); !s)
            stop(std::string(recordingFailed) + s.error().text, false);
    }
    return answer;
}

int MessageBoxes::runtimeBox(const Message& message) {
    const FormattedText text = formatText(message.text);
    const ButtonRow row = makeButtons(message.buttons, message.defaultButton, *setup_.variant);
    QMessageBox box(messageBoxIcon(message.icon), caption(message), displayed(text),
                    QMessageBox::NoButton);
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<QPushButton*> buttons;
    for (const auto& made : row.buttons) {
        buttons.push_back(
            box.addButton(QString::fromStdString(made.text), QMessageBox::ActionRole));
        if (made.value == button::Cancel) box.setEscapeButton(buttons.back());
    }
    if (row.defaultIndex >= 0) box.setDefaultButton(buttons[static_cast<size_t>(row.defaultIndex)]);
    if (row.closeAfterSeconds > 0)
        QTimer::singleShot(row.closeAfterSeconds * 1000, &box, [&box] { box.done(0); });
    box.exec();
    auto pressed = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    if (pressed == buttons.end()) return 0;
    return answerOf(row, static_cast<size_t>(pressed - buttons.begin()));
}

void MessageBoxes::stop(const std::string& message, bool exitQuestion) {
    const Message box{exitQuestion ? std::string(stopQuestion) : message, std::string(stopCaption),
                      Icon::Question, std::to_string(button::Abort + button::Ignore),
                      button::Ignore};
    if (showAs(setup_.hooks.stop == 1, box) == button::Abort) endProgram(0);
}

void MessageBoxes::halt(int exitCode, const std::string& message) {
    if (!message.empty()) {
        const Message box{message, std::string(haltCaption), Icon::Question,
                          std::to_string(button::Ok), 0};
        showAs(haltHooked_, box);
    }
    haltHooked_ = false;
    endProgram(exitCode);
}

void MessageBoxes::endProgram(int exitCode) {
    if (setup_.endProgram) setup_.endProgram(exitCode);
    std::exit(exitCode);
}

} // namespace saldora::message_box
