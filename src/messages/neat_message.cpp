#include "messages/neat_message.h"

#include "messages/message_icons.h"
#include "messages/screen_font.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace saldora::message_box {
namespace {

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

Qt::Alignment alignment(Align a) {
    switch (a) {
    case Align::Center:
        return Qt::AlignTop | Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignTop | Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignTop | Qt::AlignLeft;
}

QString displayed(const FormattedText& text) {
    QStringList lines;
    for (const auto& l : text.lines)
        lines << QString::fromStdString(l);
    return lines.join('\n');
}

} // namespace

DialogUnits DialogUnits::of(const QFont& font) {
    QFontMetrics fm(font);
    DialogUnits u;
    u.baseX =
        (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    u.baseY = fm.height();
    return u;
}

QRect DialogUnits::rect(const Rect& r) const {
    return QRect(x(r.x), y(r.y), x(r.width), y(r.height));
}

NeatMessage::NeatMessage(Content content, QWidget* parent)
    : QDialog(parent), content_(std::move(content)) {
    setObjectName("NeatMessage");
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QString::fromStdString(content_.caption.empty() ? std::string(defaultCaption)
                                                                   : content_.caption));
    if (content_.screenFont) applyScreenFont(*this, *content_.screenFont);
    if (content_.useColor) {
        QPalette p = palette();
        p.setColor(QPalette::Window, colorFromBgr(content_.color));
        setPalette(p);
        setAutoFillBackground(true);
    }

    auto* text = new QLabel(this);
    text->setObjectName("LOC:MENSAJE");
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(alignment(content_.style.align));
    QFont textFont = font();
    if (content_.style.fontStyle != 0) textFont = styledFont(textFont, content_.style.fontStyle);
    text->setFont(textFont);
    text->setText(displayed(content_.text));

    auto* noAskAgain = new QCheckBox(this);
    noAskAgain->setObjectName("LOC:NOASKAGAIN");
    noAskAgain->hide();

    const DialogUnits du = DialogUnits::of(font());
    BoxMetrics metrics;
    const QFontMetrics textMetrics(textFont);
    metrics.lineHeight = ceilDiv(8 * textMetrics.lineSpacing(), du.baseY);
    for (const auto& line : content_.text.lines)
        metrics.drawnTextWidth = std::max(
            metrics.drawnTextWidth,
            ceilDiv(4 * textMetrics.horizontalAdvance(QString::fromStdString(line)), du.baseX));
    QLabel* icon = nullptr;
    if (content_.icon != Icon::None) {
        const int px = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon = new QLabel(this);
        icon->setObjectName("Icon");
        icon->setAlignment(Qt::AlignCenter);
        icon->setPixmap(standardIcon(content_.icon, *style()).pixmap(px, px));
        metrics.iconWidth = ceilDiv(px * 4, du.baseX);
        metrics.iconHeight = ceilDiv(px * 8, du.baseY);
    }

    layout_ =
        layoutMessage(content_.text, content_.style.bold, content_.buttons.buttons.size(), metrics);
    text->setGeometry(du.rect(layout_.text));
    if (icon) icon->setGeometry(du.rect(layout_.icon));

    const auto& made = content_.buttons.buttons;
    for (size_t i = 0; i < made.size(); ++i) {
        auto* b = new QPushButton(QString::fromStdString(made[i].text), this);
        b->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        b->setGeometry(du.rect(layout_.buttons[i]));
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, i] { press(i); });
        buttons_.push_back(b);
    }
    if (content_.buttons.defaultIndex >= 0) {
        QPushButton* d = buttons_[static_cast<size_t>(content_.buttons.defaultIndex)];
        d->setDefault(true);
        d->setFocus();
    }
    if (content_.buttons.closeAfterSeconds > 0) {
        QTimer::singleShot(content_.buttons.closeAfterSeconds * 1000, this, [this] {
            answeredByButton_ = false;
            done(0);
        });
    }
    setFixedSize(du.x(layout_.width), du.y(layout_.height));
}

void NeatMessage::press(size_t index) {
    answeredByButton_ = true;
    done(answerOf(content_.buttons, index));
}

void NeatMessage::reject() {
    answeredByButton_ = false;
    done(0);
}

bool NeatMessage::handleKey(int key) {
    switch (key) {
    case Qt::Key_Escape:
        // Esc answers like the cancel button, and does nothing in a box without one.
        for (size_t i = 0; i < buttons_.size(); ++i)
            if (content_.buttons.buttons[i].value == button::Cancel) {
                buttons_[i]->click();
                break;
            }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
        focusNextPrevChild(false);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        return true;
    default:
        return false;
    }
}

bool NeatMessage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void NeatMessage::keyPressEvent(QKeyEvent* event) {
    if (handleKey(event->key())) return;
    QDialog::keyPressEvent(event);
}

} // namespace saldora::message_box
