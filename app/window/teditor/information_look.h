// The look of the main window's information window: white text on black,
// web addresses in aqua and mail addresses in yellow, both underlined, the
// selection white on navy, the caret row underlined in grey, a gothic font
// and scroll bars. Its behaviour (read-only, the text) is the window's own.
#pragma once

namespace editor {
class TEditor;
}

namespace app {

void ApplyInformationWindowLook(editor::TEditor& editor);

}  // namespace app
