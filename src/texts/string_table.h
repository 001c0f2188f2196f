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
    {TextId::CtlUsage,
     "使い方: lx47ctl [オプション] コマンド [引数...]\n"
     "\n"
     "KD-LX47 を検索し、設定を表示・変更します。設定ツール（lx47-config）と同じ\n"
     "規則で値を確かめて同じバイトを送り、同じツール設定（送信回数、受信回数、\n"
     "受信間隔、ネットワークアダプタ）を使います。\n"
     "\n"
     "コマンド:\n"
     "  search                    LX47 を検索して一覧を表示します\n"
     "  show MAC                  デバイスのすべての設定を表示します\n"
     "  set MAC... 名前=値...     設定を変更してデバイスに書き込みます\n"
     "  save MAC ファイル         デバイスの設定をファイルに保存します\n"
     "  load MAC... ファイル      保存した設定をデバイスに書き込みます\n"
     "  reset MAC...              初期化（ファクトリーリセット）を行います\n"
     "  firmware MAC... ファイル  ファームウェアのアップデートを行います\n"
     "  routers MAC               デバイスに Wi-Fi ルーターをスキャンさせます\n"
     "  clock MAC                 デバイスの時刻を PC の時刻に合わせます\n"
     "  disconnect MAC            デバイスの TCP 接続を切断します\n"
     "  fields                    設定項目の名前と指定できる値を表示します\n"
     "\n"
     "MAC は 00:80:47:0A:0B:0C のように書きます（区切りは : か - 、または区切りなし）。\n"
     "set, load, reset, firmware は複数のデバイスに続けて行います。MAC を並べるか\n"
     "カンマで区切り、all は検索で見つかったすべてのデバイスです。\n"
     "\n"
     "共通のオプション:\n"
     "  -p, --password 文字列        検索パスワード（8文字まで）。省略すると、検索\n"
     "                               ダイアログで保存したパスワード、なければ空\n"
     "      --password-file ファイル 検索パスワードをファイルの1行目から読みます\n"
     "                               （- は標準入力。ほかのユーザーに見えません）\n"
     "      --adapter 名前           このネットワークアダプタのアドレスからだけ送信\n"
     "      --all-adapters           すべてのホストアドレスから送信\n"
     "                               （どちらもなければツール設定のとおり）\n"
     "  -h, --help                   使い方（コマンドの後に付けると、そのコマンドの）\n"
     "      --version                版\n"
     "\n"
     "終了ステータス:\n"
     "  0    成功\n"
     "  1    複数のデバイスのうち、いずれかで失敗した\n"
     "  2    使い方の誤り（不明なコマンド・オプション・設定項目、MAC やファイルの形式）\n"
     "  3    値が受け付けられなかった（何も送信していません）\n"
     "  4    デバイスが見つからない\n"
     "  5    デバイスからの応答がない\n"
     "  6    デバイスが拒否した（使用中の可能性があります）\n"
     "  7    ネットワークの問題（ソケットの作成や送信に失敗した）\n"
     "  8    送信に使えるホストアドレスがない（ネットワークアダプタ）\n"
     "  9    デバイスに接続できない（ファームウェアの転送）\n"
     "  10   ファイルを読めない・書けない、またはファームデータではない\n"
     "  130  中断した（Ctrl-C）\n"},
    {TextId::CtlSearchHelp,
     "使い方: lx47ctl search [--one] [--mac MAC] [--json]\n"
     "\n"
     "LX47 を検索して、No.、MAC、IPアドレス、ファームバージョン、ホストIPアドレス、\n"
     "動作モード、SSID を表示します。検索には設定ツールと同じ時間がかかります（既定の\n"
     "ツール設定で約 13 秒）。\n"
     "\n"
     "  --one       最初に応答したデバイスで検索を終えます（１台のみ検出）\n"
     "  --mac MAC   この MAC のデバイスだけを探し、応答があった時点で終えます\n"
     "  --json      デバイスごとに、すべての項目を JSON で出力します\n"},
    {TextId::CtlShowHelp,
     "使い方: lx47ctl show MAC [--json]\n"
     "\n"
     "デバイスのすべての設定を、設定画面に表示される値で、項目名と画面での名前と\n"
     "ともに表示します。検索はこの MAC のデバイスが応答した時点で終わります。\n"
     "「（拡張設定）」の項目を変更するには --extended が必要です。\n"},
    {TextId::CtlSetHelp,
     "使い方: lx47ctl set MAC... 名前=値... [--dry-run] [--extended]\n"
     "\n"
     "設定画面で値を変えて［設定］を押した時と同じように、値を確かめてからデバイスに\n"
     "書き込みます。受け付けられない値があれば、その項目と画面のメッセージを表示し、\n"
     "何も送信しません。書き込んだ後、デバイスの応答で変わった項目を表示します。\n"
     "\n"
     "  名前=値      設定項目と値（一覧は lx47ctl fields）。例: Serial_Baud_Rate=115200\n"
     "  --dry-run    送信せずに、書き込むと変わる項目を表示します\n"
     "  --extended   拡張設定（DNS、Mixed モード、接続時パスワード）も変更します。\n"
     "               ツール設定の MaskSetting が有効な時だけ使えます\n"},
    {TextId::CtlSaveHelp,
     "使い方: lx47ctl save MAC ファイル\n"
     "\n"
     "デバイスのすべての設定を、項目名の付いた読める形式（JSON、版 1）でファイルに\n"
     "保存します。どの画面にも表示されないバイトも保存するので、同じデバイスに load\n"
     "すると元のとおりに戻ります。ファイルに - を指定すると標準出力に書きます。\n"},
    {TextId::CtlLoadHelp,
     "使い方: lx47ctl load MAC... ファイル [--with-address] [--dry-run] [--extended]\n"
     "\n"
     "save で保存した設定を、送信する前にすべての値を確かめてから、デバイスに書き込み\n"
     "ます。保存したデバイスとは別のデバイスには、そのデバイス自身のアドレス\n"
     "（DHCP_Enable, Device_IP_Address, Subnet_Mask, Default_Gateway）を残します。\n"
     "\n"
     "  --with-address   アドレスもファイルのとおりに書き込みます\n"
     "  --dry-run        送信せずに、書き込むと変わる項目を表示します\n"
     "  --extended       拡張設定もファイルのとおりに書き込みます（MaskSetting が必要）\n"},
    {TextId::CtlResetHelp,
     "使い方: lx47ctl reset MAC...|all [--yes]\n"
     "\n"
     "初期化（ファクトリーリセット）を行います。設定は出荷時設定に戻ります。MAC を\n"
     "指定すると、検索せずにその MAC へブロードキャストで送ります（検索パスワードの\n"
     "分からないデバイスも初期化できます）。all は検索で見つかったすべてのデバイスを\n"
     "初期化します。\n"
     "\n"
     "  -y, --yes   確認せずに行います（端末から実行しない時は必要です）\n"},
    {TextId::CtlFirmwareHelp,
     "使い方: lx47ctl firmware MAC...|all ファイル [--yes]\n"
     "\n"
     "ファームファイル（LX47_*.bin）をデバイスに書き込みます。ファイルは設定ツールと\n"
     "同じように確かめます（先頭 4 バイトが \"LX47\" で、その後に 1 バイト以上）。\n"
     "端末では進み具合を表示します。書き込んだ後、デバイスを検索し直して新しい\n"
     "ファームバージョンを表示します。\n"
     "\n"
     "  -y, --yes   確認せずに行います（端末から実行しない時は必要です）\n"},
    {TextId::CtlRoutersHelp,
     "使い方: lx47ctl routers MAC [--json]\n"
     "\n"
     "デバイスに Wi-Fi ルーターをスキャンさせ、ルーターの選択画面と同じ順（SSID 順）に、\n"
     "SSID、ルーターMAC、Rssi、セキュリティーモード、Wi-Fi チャネルを表示します。\n"},
    {TextId::CtlClockHelp, "使い方: lx47ctl clock MAC\n\nデバイスの時刻を、この PC の現在の時刻に合わせます。\n"},
    {TextId::CtlDisconnectHelp, "使い方: lx47ctl disconnect MAC\n\nデバイスが今つないでいる TCP 接続を切断させます。\n"},
    {TextId::CtlFieldsHelp, "使い方: lx47ctl fields [--json]\n\nset と load で使う設定項目の名前、その画面、指定できる値、画面での名前を\n表示します。\n"},
    {TextId::CtlUnknownCommand, "不明なコマンドです：%s"},
    {TextId::CtlUnknownOption, "不明なオプションです：%s"},
    {TextId::CtlOptionNeedsValue, "オプション %s には値が必要です。"},
    {TextId::CtlSeeHelp, "使い方は lx47ctl --help で表示します。"},
    {TextId::CtlBadArguments, "%s の引数が正しくありません（lx47ctl %s --help で使い方を表示します）。"},
    {TextId::CtlOptionNotForCommand, "オプション %s は %s では使えません。"},
    {TextId::CtlBadMac, "MACアドレスの形式が正しくありません：%s"},
    {TextId::CtlUnknownField, "不明な設定項目です：%s（lx47ctl fields で一覧を表示します）"},
    {TextId::CtlFieldTwice, "%s が二度指定されています。"},
    {TextId::CtlNoAssignments, "設定する項目がありません（名前=値 で指定してください）。"},
    {TextId::CtlExtendedLocked, "拡張設定は、ツール設定の MaskSetting が有効な時だけ使えます。"},
    {TextId::CtlConfirmNeedsYes, "確認できないため、行いません。端末から実行するか、--yes を付けてください。"},
    {TextId::CtlConfirmPrompt, "よろしいですか？ [y/N] "},
    {TextId::CtlAddressExpected, "IPv4 アドレス（例 192.168.0.10）を指定してください。"},
    {TextId::CtlDigitsOnly, "0～9 の数字だけを指定してください。"},
    {TextId::CtlTooLong, "%u 文字までです。"},
    {TextId::CtlValueNotAccepted, "値「%s」は使えません（指定できる値：%s）。"},
    {TextId::CtlNeedsExtended, "拡張設定です（--extended を付けると使えます）。"},
    {TextId::CtlModeFixed, "オペレーション モードは、TCP Client のデバイスでだけ変更できます。"},
    {TextId::CtlNotWrittenWithDhcp, "DHCP が有効なため、書き込まれません。"},
    {TextId::CtlServerFieldsUnused, "オペレーション モードが TCP Client か Mixed の時だけ書き込まれます。"},
    {TextId::CtlConnectSwitchUnavailable, "TCP Client のデバイスで TCP Server を選んだ時と、Mixed のデバイスでだけ書き込まれます。"},
    {TextId::CtlConnectPasswordOff, "Connect_Password_Enable が off のため、書き込まれません。"},
    {TextId::CtlOpenSecurity, "セキュリティーモードが open のため、書き込まれません。"},
    {TextId::CtlReadOnly, "表示だけの項目です。"},
    {TextId::CtlKeptAsIs, "%s このデバイスの値のままにします。"},
    {TextId::CtlFieldMessage, "%s：%s"},
    {TextId::CtlChangeLine, "  %s：%s → %s"},
    {TextId::CtlNoChanges, "変わる項目はありません。"},
    {TextId::CtlWillChange, "書き込むと変わる項目："},
    {TextId::CtlChanged, "デバイスの応答で変わった項目："},
    {TextId::CtlDryRunNote, "（--dry-run のため、何も送信していません）"},
    {TextId::CtlSaved, "%s に保存しました。"},
    {TextId::CtlFileUnwritable, "ファイル %s に書き込めません：%s"},
    {TextId::CtlFileNotJson, "%s：設定ファイルとして読めません（%u 行目、%u 文字目）。"},
    {TextId::CtlNotConfigFile, "%s：lx47ctl save で保存した設定ファイルではありません。"},
    {TextId::CtlConfigVersion, "%s：設定ファイルの版 %s には対応していません（対応する版：1）。"},
    {TextId::CtlConfigOtherDevice, "%s：別の種類のデバイス（%s）の設定です。"},
    {TextId::CtlConfigMissing, "%s：%s がありません（ファイルが途中で切れている可能性があります）。"},
    {TextId::CtlConfigWrongType, "%s：%s の値の形式が正しくありません。"},
    {TextId::CtlConfigUnknown, "%s：不明な項目 %s があります。"},
    {TextId::CtlSummary, "%u 台のうち %u 台で成功しました。"},
    {TextId::CtlNotRun, "行っていません。"},
    {TextId::CtlFirmwareVersionChange, "ファームバージョン：%s → %s"},
    {TextId::CtlNotFoundAfterUpdate, "アップデートの後、デバイスは見つかりません。"},
    {TextId::CtlClockSet, "デバイスの時刻を PC の時刻に合わせました。"},
    {TextId::CtlTcpDisconnected, "デバイスの TCP 接続を切断しました。"},
    {TextId::CtlProgress, "%3u%%  %u / %u バイト"},
    {TextId::CtlIpAddressHeading, "IPアドレス"},
    {TextId::CtlWifiModeHeading, "動作モード"},
    {TextId::CtlRouterMacHeading, "ルーターMAC"},
    {TextId::CtlExtendedMark, "（拡張設定）"},
    {TextId::CtlReadOnlyMark, "（表示だけ）"},
    {TextId::CtlFieldHeading, "項目"},
    {TextId::CtlPageHeading, "画面"},
    {TextId::CtlValuesHeading, "指定できる値"},
    {TextId::CtlLabelHeading, "画面での名前"},
    {TextId::CtlTextValue, "文字列"},
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
