#pragma once
// NeatMessage, the program's message box: a window laid out by message_layout.h in dialog units
// of its font, with the text control LOC:MENSAJE, an optional icon and the row of buttons
// Button1, Button2, ... exec() answers the pressed button's flag (or its position), or 0 when
// the box closes itself or is closed by its frame.
#include "data/message_service.h"
#include "messages/message_layout.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;

namespace saldora::message_box {

struct ScreenFont;

// Dialog units of a font: a quarter of its average character width across, an eighth of its
// height down, rounded as the system the program was designed for rounds them.
struct DialogUnits {
    int baseX = 4, baseY = 8; // pixels of the average character and of the height

    static DialogUnits of(const QFont& font);
    int x(int units) const { return (units * baseX + 2) / 4; }
    int y(int units) const { return (units * baseY + 4) / 8; }
    int unitsOfX(int pixels) const { return (pixels * 4 + baseX / 2) / baseX; }
    QRect rect(const Rect& r) const;
};

class NeatMessage final : public QDialog {
    Q_OBJECT
  public:
    struct Content {
        FormattedText text;
        std::string caption; // blank: the default caption
        Icon icon = Icon::None;
        ButtonRow buttons;
        TextStyle style;
        bool useColor = false; // background colour, BGR
        long color = 0;
        const ScreenFont* screenFont = nullptr; // applied to the window when given
    };

    explicit NeatMessage(Content content, QWidget* parent = nullptr);

    const MessageLayout& layoutInUnits() const { return layout_; }
    // Whether a button was pressed (a box closed by its timer or frame was not answered).
    bool answeredByButton() const { return answeredByButton_; }

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void press(size_t index);
    bool handleKey(int key);

    Content content_;
    MessageLayout layout_;
    std::vector<QPushButton*> buttons_;
    bool answeredByButton_ = false;
};

} // namespace saldora::message_box
