// The main window's commands. The window only routes to them: each takes the
// window and does its whole job (inputs, the runner, the message, the
// refresh), on the window's session.
#pragma once

namespace lx47::app {

class LX47ConfigToolDlg;

namespace commands {

void Search(LX47ConfigToolDlg& dlg);          // button "LX47の検索"
void Write(LX47ConfigToolDlg& dlg);           // button "設定"
void FirmwareUpdate(LX47ConfigToolDlg& dlg);  // button "ファーム更新"
void FactoryReset(LX47ConfigToolDlg& dlg);    // window menu "LX47 の初期化..."
void ToolSettings(LX47ConfigToolDlg& dlg);    // window menu "ツール設定..."

}  // namespace commands
}  // namespace lx47::app
