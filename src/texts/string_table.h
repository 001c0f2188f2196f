// The string table itself, for the library's own sources: constexpr, so
// that the typed formats check their texts' conversions when they compile.
// Sorted by number, each number once; "\n" in a text is a line break.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "texts/text_ids.h"

namespace lx47::texts::table {

struct Entry {
  TextId id;
  const char* text;  // UTF-8
};

// clang-format off
inline constexpr Entry kTable[] = {
    {TextId::SocketInitFailed, "Windows ソケットの初期化に失敗しました。"},
    {TextId::ListHeadingNo, "No."},
    {TextId::ListHeadingMac, "MAC Address"},
    {TextId::ListHeadingBlank, " "},
    {TextId::ToolName, "Orvane LX47 Configuration Tool"},
    {TextId::SearchPasswordPrompt, "検索・設定パスワード（８文字まで）"},
    {TextId::SearchRun, "検索実行"},
    {TextId::PleaseWait, "しばらくお待ちください..."},
    {TextId::SelectionNo, "選択 No. %u"},
    {TextId::DisconnectTimeNote, "指定の時間データ転送がなければ接続が切断されます。"},
    {TextId::KeepaliveNote, "指定の時間データ転送がなければキープアライブパケットが送信されます。\n0 指定時は、キープアライブパケットパケットは送信しません、"},
    {TextId::SelectDeviceFirst, "検索結果の中から設定するデバイスを選択してください。"},
    {TextId::FirmwareTakesMinutes, "ファームの更新は数分かかります。\n更新中は Wi-Fi を切断しないでください"},
    {TextId::FirmwareWriting, "ファームの書き込み中"},
    {TextId::Searching, "LX47の検索中   "},
    {TextId::NetworkPageTitle, "ネットワーク設定"},
    {TextId::SerialPageTitle, "シリアル設定"},
    {TextId::OptionPageTitle, "オプション設定"},
    {TextId::SettingsWriting, "設定情報をデバイスに書き込み中"},
    {TextId::SettingsWritten, "設定情報を LX47に書き込みました。"},
    {TextId::SettingsSendFailed, "設定情報の送信に失敗しました。"},
    {TextId::FirmwareUpdated, "ファームのアップデートが完了しました。"},
    {TextId::FirmwareUpdateFailed, "ファームのアップデート中に問題が発生しました。"},
    {TextId::ChooseFirmwareFile, "LX47 に書き込むファームファイルを選択してください。"},
    {TextId::NotFirmwareFile, "選択したファイルは、正しいファームデーターではありません。"},
    {TextId::FactoryResetRunning, "ファクトリーリセットを実行中"},
    {TextId::FactoryResetMenu, "LX47 の初期化..."},
    {TextId::FactoryResetConfirm, "LX47（MACアドレス [%02X:%02X:%02X:%02X:%02X:%02X] ）を検索し、初期化を行います。設定は出荷時設定に戻ります。\n\n．．．よろしいですか？"},
    {TextId::QuitLosesEdits, "情報は変更されています。このまま終了すると変更内容は反映されません。\n（LX47 に反映させるためには、終了の前に［設定］を行ってください）\n\n．．．終了しますか？"},
    {TextId::FactoryResetDone, "初期化（ファクトリーリセット）を行いました。\n\n"},
    {TextId::FactoryResetFailed, "初期化（ファクトリーリセット）できませんでした。\n\n"},
    {TextId::SwitchLosesEdits, "（No.%d）の情報は変更されていますが、［設定］が行われずに（No.%d）が選択されました。\n（No.%d）への変更内容は反映されませんが、よろしいですか？"},
    {TextId::FirmwareAborted, "ファームウェアの書き込みを中断しました。"},
    {TextId::FactoryResetMacPrompt, "初期化（ファクトリーリセット）を行う LX47 の MACアドレスを入力してください。\n\n"},
    {TextId::ScanAllHosts, "全てをスキャン"},
    {TextId::ToolSettingsMenu, "ツール設定..."},
    {TextId::EscapeAborts, "（[ESC]キーを押すと処理を中断します）"},
    {TextId::NoDeviceFound, "デバイスは見つかりません。"},
    {TextId::NetworkProblem, "ネットワークに接続できないか、通信で問題が発生しました。"},
    {TextId::Aborted, "処理を中断しました。"},
    {TextId::NoReply, "デバイスからの応答が確認できません。"},
    {TextId::SendFailed, "コマンドの送信に失敗しました。"},
    {TextId::FirmwareUpdateAhead, "ファームウェアのアップデートを行います。"},
    {TextId::AreYouSure, "．．．よろしいですか？"},
    {TextId::CannotConnect, "デバイスに接続できません。"},
    {TextId::CheckMacAddress, "MACアドレス [%02X:%02X:%02X:%02X:%02X:%02X] が正しいか確認してください。"},
    {TextId::MacAddressInvalid, "MACアドレスは正しくありません。"},
    {TextId::WifiPageTitle, "LX47 Wi-Fi接続設定"},
    {TextId::RouterScanning, "LX47 Wi-Fi ルータースキャン中"},
    {TextId::ModeInfrastructure, "インフラストラクチャーモード"},
    {TextId::ModeAccessPoint, "アクセスポイントモード"},
    {TextId::ModeProvisioning, "プロビジョニングモード"},
    {TextId::ModeAdHoc, "アドホックモード"},
    {TextId::ChannelLabel, "Wi-Fi チャネル："},
    {TextId::SecurityModeLabel, "セキュリティーモード："},
    {TextId::RssiLabel, "Rssi："},
    {TextId::SpecialPageTitle, "LX47 特別設定"},
    {TextId::ReconnectAfterApMode, "アクセスポイントモードの場合、PC とのWi-Fi接続が解除されることがあります。その場合は、再度 PC の Wi-Fiを接続してください。"},
    {TextId::SearchAgain, "［LX47の検索］を行ってください。"},
    {TextId::ReconnectIfDropped, "PC の Wi-Fi接続が解除された場合は、再度 Wi-Fiを接続してください。"},
    {TextId::DeviceMayBeBusy, "デバイスは使用中の可能性があります。"},
    {TextId::SettingsNotWritten, "設定できませんでした。"},
    {TextId::ApModeHowToInfrastructure, "現在の接続モードはアクセスポイントモードです。\nインフラストラクチャーモードで使用する場合は、以下の操作を行ってください。\n・本ツールを終了後に製品本体のDIPスイッチ1番をOFFにする。\n・本製品のリセットスイッチを押す。\n・本製品を接続するように設定したWi-FiルーターにWi-Fiホスト端末を接続する。\n\n※ 本設定以降はDIPスイッチ1番を切替後にリセットボタンを押すことで\n　 アクセスポイントモードとインフラストラクチャーモードの切替が行えます。\n"},
    // The tool's own.
    {TextId::FirmwareFileTooLarge, "選択したファイルは大きすぎるため、ファームデーターとして書き込めません。"},

    {TextId::AdapterUnusable, "\n\nネットワークアダプタ：［%s］は有効ではないか、切断状態の可能性があります。"},
    {TextId::AdapterAddressInvalid, "\n\nネットワークアダプタ：［%s］（IPアドレス：%s）は有効ではありません。"},
    {TextId::FirmwareMacLine, "MACアドレス [%s]"},

    {TextId::SearchResults, "検索結果"},
    {TextId::SelectionNoLabel, "選択No."},
    {TextId::FirmwareVersionCaption, "ファームバージョン"},
    {TextId::SearchButton, "LX47の検索"},
    {TextId::SetButton, "設定"},
    {TextId::FirmwareButton, "ファーム更新"},
    {TextId::ExitButton, "終了"},
    {TextId::WindowMenuName, "ウィンドウメニュー"},
    {TextId::WindowMenuTip, "%s（%s、%s）  %s"},

    {TextId::SearchPasswordLabel, "検索パスワード（8文字まで）"},
    {TextId::ShowCharacters, "文字表示"},
    {TextId::SavePassword, "パスワードを保存"},
    {TextId::DeleteButton, "削除"},
    {TextId::OneDeviceOnly, "１台のみ検出 "},
    {TextId::SearchMacLabel, "検索する MACアドレス"},
    {TextId::CancelButton, "キャンセル"},
    {TextId::PasswordTooLong, "指定可能な文字数は８文字までです。"},

    {TextId::ToolSettingsTitle, "ツール設定"},
    {TextId::HostGroup, "ネットワークホストの選択"},
    {TextId::CurrentChoice, "現在の選択："},
    {TextId::RescanButton, "再スキャン"},
    {TextId::HostIpAddress, "ホストIPアドレス"},
    {TextId::MacAddressLabel, "MACアドレス"},
    {TextId::HostChangeNote, "ネットワークホストの変更は、次回の検索実行時に反映します。"},
    {TextId::SendCountLabel, "コマンドパケット送信回数"},
    {TextId::RecvCountLabel, "応答パケット受信回数"},
    {TextId::RecvDelayLabel, "応答パケット受信ディレイ(ミリ秒)"},
    {TextId::DefaultValuesButton, "デフォルト値\nに戻す"},
    {TextId::NumberRange, "(%u～%u)"},
    {TextId::ScanAllModeShown, " （全てをスキャンモード）"},
    {TextId::HostWithAddress, "%s  （IPアドレス：%s）"},
    {TextId::StoredHostInvalid, "現在設定されているネットワークホスト：［%s］（IPアドレス：%s）は無効です。\n\nネットワーク接続を確認するか、再度ネットワークホストの選択を行ってください。\n"},
    {TextId::SendCountBadCharacters, "［コマンドパケット送信回数］の指定に無効な文字があります。\n"},
    {TextId::SendCountOutOfRange, "［コマンドパケット送信回数］の指定が無効または範囲外です。\n"},
    {TextId::RecvDelayBadCharacters, "［応答パケット受信ディレイ］の指定に無効な文字があります。\n"},
    {TextId::RecvDelayOutOfRange, "［応答パケット受信ディレイ］の指定が無効または範囲外です。\n"},
    {TextId::RecvCountBadCharacters, "［応答パケット受信回数］の指定に無効な文字があります。\n"},
    {TextId::RecvCountOutOfRange, "［応答パケット受信回数］の指定が無効または範囲外です。\n"},
    {TextId::ErrorCodeOnly, " Win32  ErrorCode：%u"},
    {TextId::AdapterTypeOther, "何らかのネットワーク インターフェイス"},
    {TextId::AdapterTypeEthernet, "イーサーネット インターフェイス"},
    {TextId::AdapterTypeTokenRing, "トークンリング"},
    {TextId::AdapterTypePpp, "PPP ネットワーク インターフェイス"},
    {TextId::AdapterTypeLoopback, "ループバック"},
    {TextId::AdapterTypeAtm, "ATM ネットワーク インターフェイス"},
    {TextId::AdapterTypeWireless, "無線ネットワーク インターフェイス"},
    {TextId::AdapterTypeUnknown, "何らかのネットワークインターフェイス"},

    {TextId::FactoryResetTitle, "LX47 の初期化"},
    {TextId::EraseMode, "消去モード"},
    {TextId::Dots0, "　　　　"},
    {TextId::Dots1, "・　　　"},
    {TextId::Dots2, "・・　　"},
    {TextId::Dots3, "・・・　"},
    {TextId::Dots4, "・・・・"},
    {TextId::ByteCount, "(%u/%u\n)"},

    {TextId::IpAddressGroup, "IP アドレス"},
    {TextId::ManualSetting, "手動設定"},
    {TextId::LocalIpAddress, "ローカル IP アドレス"},
    {TextId::SubnetMask, "サブネットマスク"},
    {TextId::DefaultGateway, "デフォルト ゲートウェイ"},
    {TextId::PortNumber, "ポート番号"},
    {TextId::OperationModeGroup, "オペレーション モード"},
    {TextId::ServerIpAddress, "接続する サーバー\n IPアドレス"},
    {TextId::DnsConnect, "DNSによるサーバーへの接続"},
    {TextId::DnsServerIpAddress, "DNSサーバー IPアドレス"},
    {TextId::DomainName, "ドメイン名（32文字まで）"},

    {TextId::ComPortGroup, "COMポート設定"},
    {TextId::BaudRate, "ボーレート"},
    {TextId::DataBits, "データビット"},
    {TextId::Parity, "パリティー"},
    {TextId::StopBits, "ストップビット"},
    {TextId::FlowControl, "フロー制御"},
    {TextId::SendTimingGroup, "シリアルから Wi-Fi へのデータ送出タイミング"},
    {TextId::SendTime, "時間"},
    {TextId::SendTimeRange, "（0～65535 ミリ秒）"},
    {TextId::SendSize, "受信データサイズ"},
    {TextId::SendSizeRange, "（0～1440 バイト）"},
    {TextId::SendChar, "受信キャラクター"},
    {TextId::SendCharRange, "（2桁の16進数で指定）"},
    {TextId::ZeroDisables, "0 を指定すると、当該機能は 無効となります。デフォルトは 0 です。"},

    {TextId::TcpTimerGroup, "TCP タイマー間隔"},
    {TextId::DisconnectTime, "切断までの時間"},
    {TextId::SecondsRange, "（0～65535 秒）"},
    {TextId::KeepaliveInterval, "キープアライブ送信間隔"},
    {TextId::SearchPasswordGroup, "LX47 ConfigTool 検索パスワード"},
    {TextId::PasswordUpTo8, "パスワード （8文字まで）"},
    {TextId::ConnectPasswordGroup, "接続時パスワード（TCP Serverモード のみ）"},
    {TextId::PasswordEnabled, "パスワード有効"},

    {TextId::InfrastructureGroup, "インフラストラクチャーモード 設定"},
    {TextId::SearchRouters, "Wi-Fiルーターをサーチして選択"},
    {TextId::AccessPointGroup, "アクセスポイントモード 設定"},
    {TextId::InfrastructureSsid, "SSID（32文字まで）"},
    {TextId::InfrastructurePassword, "パスワード （64文字まで）"},
    {TextId::AccessPointSsid, "SSID（31文字まで）"},
    {TextId::AccessPointPassword, "パスワード（8文字以上63文字まで）"},
    {TextId::SecurityMode, "セキュリティーモード"},
    {TextId::WifiChannel, "Wi-Fi チャネル"},
    {TextId::CurrentMode, "現在の動作モード："},
    {TextId::LinkChannel, ", チャネル：%u"},

    {TextId::NoRouterFound, "WIFIルーターを見つけることができません"},
    {TextId::SelectRouterTitle, "Wifi ルーターの選択"},
    {TextId::SelectRouterPrompt, "インフラストラクチャーモード使用時に\nLX47が接続する Wi-Fiルーターを選択してください"},
    {TextId::SelectButton, "選択"},
    {TextId::RouterMac, "ルーターMAC："},

    {TextId::MsgConnectToUart, "TCP接続時 UARTにメッセージを送信する"},
    {TextId::MsgDisconnectToUart, "TCP切断時 UARTにメッセージを送信する"},
    {TextId::MsgConnectToClient, "TCP接続時 TCPクライアントにメッセージを送信する"},
    {TextId::LeaseTime, "（アクセスポイントモード接続時） DHCP リース時間"},
    {TextId::LeaseTimeRange, "（10～65535 分）"},
    {TextId::UpTo16Characters, "（16文字まで）"},
    {TextId::TcpPasswordGroup, "TCP接続パスワード"},
    {TextId::TcpPasswordSet, "TCP接続パスワードを設定する"},
    {TextId::PasswordUpTo32, "パスワード （32文字まで）"},
    {TextId::JudgeTime, "アクセスポイントモード接続時、接続元からの通信パケットが途絶えた場合に切断と判断するまでの時間"},
    {TextId::JudgeTimeRange, "（10～65535 秒）"},
    {TextId::RestoreDefaults, "デフォルトに戻す"},
    {TextId::SetClock, "時刻設定"},
    {TextId::TcpDisconnect, "TCP切断"},

    {TextId::LocalPortInvalid, "[%s]－「ポート番号」の指定が無効または範囲外です。"},
    {TextId::LocalAddressInvalid, "[%s]－「ローカル IP アドレス」の指定に問題があります。"},
    {TextId::SubnetMaskInvalid, "[%s]－「サブネットマスク」の指定に問題があります。"},
    {TextId::ServerPortInvalid, "[%s] －「ポート番号」（オペレーションモード）の指定が無効または範囲外です。"},
    {TextId::SendTimeInvalid, "[%s]－「時間」（ミリ秒）の指定が無効または範囲外です。"},
    {TextId::SendSizeInvalid, "[%s]－「受信データサイズ」 の指定が無効または範囲外です。"},
    {TextId::SendCharNotHex, "[%s]－「受信キャラクター」（16進数）の指定が不正です。"},
    {TextId::SendCharInvalid, "[%s]－「受信キャラクター」（16進数）の指定が無効または範囲外です。"},
    {TextId::BaudRateInvalid, "[%s]－「ボーレート」の指定が無効です。"},
    {TextId::DataBitsInvalid, "[%s]－「データビット」の指定が無効です。"},
    {TextId::ParityInvalid, "[%s]－「パリティー」の指定が無効です。"},
    {TextId::StopBitsInvalid, "[%s]－「ストップビット」の指定が無効です。"},
    {TextId::FlowControlInvalid, "[%s]－「フロー制御」の指定が無効です。"},
    {TextId::SearchPasswordLeadingSpace, "[%s]－「検索パスワード」の一文字目をスペースとすることはできません。\n（スペースのみであれば問題ありません）"},
    {TextId::ConnectPasswordLeadingSpace, "[%s]－「接続時パスワード」の一文字目をスペースとすることはできません。\n（スペースのみであれば問題ありません）"},
    {TextId::DisconnectTimeInvalid, "[%s]－「切断までの時間」（秒）の指定が無効または範囲外です。"},
    {TextId::KeepaliveIntervalInvalid, "[%s]－「keep-alive 送信間隔」（秒）の指定が無効または範囲外です。"},
    {TextId::ApPasswordTooShort, "パスワードは 8文字以上必要です。"},
    {TextId::LeaseTimeInvalid, "[%s]－「DHCPリース時間」 の指定が無効または範囲外です。"},
    {TextId::JudgeTimeInvalid, "[%s]－「切断判断時間」 の指定が無効または範囲外です。"},
};
// clang-format on

constexpr bool Sorted() {
  for (std::size_t i = 1; i < std::size(kTable); ++i)
    if (kTable[i - 1].id >= kTable[i].id) return false;
  return true;
}
static_assert(Sorted(), "the string table must stay sorted by number, each number once");

// The text of `id` at compile time; empty for an id the table lacks.
constexpr std::string_view Lookup(TextId id) {
  for (const Entry& e : kTable)
    if (e.id == id) return e.text;
  return {};
}

}  // namespace lx47::texts::table
