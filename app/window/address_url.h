// Turns an address found in the information window into what the desktop
// opens: "mailto:" + a mail address for the mailer, a web address for the
// browser ("www." addresses get "http://", which a browser assumes anyway).
#pragma once

#include <QUrl>

#include <string_view>

#include "editor/colour/token_kind.h"

namespace app {

// `kind` is tkUrl or tkMail; `token` the address as the window shows it (CP932).
QUrl AddressUrl(editor::TTokenKind kind, std::string_view token);

}  // namespace app
