#pragma once
// How the access control's own windows and messages look: the caption, icon and font the program
// gives it at start-up (ds_SetLogo, ds_SetDefaultFont, the caption of ds_CountUsers and
// ds_LoginText), and the messages it shows through the message service.
#include "data/message_service.h"
#include "data/result.h"
#include "messages/screen_font.h"

#include <string>

class QIcon;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

namespace saldora::security {

struct Appearance {
    std::string caption = "Segurança"; // of the component's messages
    std::string logo;                  // icon file of its windows, in the program folder
    message_box::ScreenFont font;      // the font of its windows; blank name: their own
};

Appearance& appearance();

// Gives one of the component's windows its title, icon and font.
void dress(QWidget& window, const QString& title);

// A picture the program ships (ok.ico, ...) from the program folder; empty when absent.
QIcon programPicture(const std::string& name);
// Controls carry names, by which the popup help and the tests find them.
QPushButton* namedButton(QWidget& parent, const char* name, const QString& text,
                         const QString& tip = {});
QLineEdit* namedEntry(QWidget& parent, const char* name, int maxLength, bool password);

// The component's message "AccessRestricted".
Message accessRestrictedMessage();
// A refusal or a failure told to the user, under the component's caption.
void tell(const std::string& text, Icon icon = Icon::Exclamation);
void tellFailure(const Error& error);

} // namespace saldora::security
