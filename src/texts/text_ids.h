// The names of the string table's texts. The number of each is its key in
// the table: the numbers up to 189 are the ones the messages, captions and
// labels have always been known by; 190 to 999 are the tool's own (grouped
// by where they show: 190 commands, 200 main window, 220 search dialog, 240
// tool settings dialog, 270 factory reset and progress dialogs, 300 to 499
// the settings pages and the router dialog, 500 the pages' refusals, 600
// the command line).
#pragma once

namespace lx47::texts {

enum class TextId : int {
  SocketInitFailed = 103,
  ListHeadingNo = 104,
  ListHeadingMac = 105,
  ListHeadingBlank = 106,
  ToolName = 108,
  SearchPasswordPrompt = 109,
  SearchRun = 114,
  PleaseWait = 115,
  SelectionNo = 117,  // format: SelectionNoText
  DisconnectTimeNote = 118,
  KeepaliveNote = 119,
  SelectDeviceFirst = 120,
  FirmwareTakesMinutes = 122,
  FirmwareWriting = 123,
  Searching = 124,
  NetworkPageTitle = 126,
  SerialPageTitle = 127,
  OptionPageTitle = 128,
  SettingsWriting = 129,
  SettingsWritten = 130,
  SettingsSendFailed = 131,
  FirmwareUpdated = 132,
  FirmwareUpdateFailed = 133,
  ChooseFirmwareFile = 134,
  NotFirmwareFile = 137,
  FactoryResetRunning = 138,
  FactoryResetMenu = 139,
  FactoryResetConfirm = 140,  // format: FactoryResetConfirmText
  QuitLosesEdits = 141,
  FactoryResetDone = 142,
  FactoryResetFailed = 143,
  SwitchLosesEdits = 144,  // format: SwitchLosesEditsText
  FirmwareAborted = 145,
  FactoryResetMacPrompt = 149,
  ScanAllHosts = 150,
  ToolSettingsMenu = 151,
  EscapeAborts = 152,
  NoDeviceFound = 153,
  NetworkProblem = 154,
  Aborted = 155,
  NoReply = 156,
  SendFailed = 157,
  FirmwareUpdateAhead = 158,
  AreYouSure = 159,
  CannotConnect = 160,
  CheckMacAddress = 161,  // format: CheckMacAddressText
  MacAddressInvalid = 163,
  WifiPageTitle = 164,
  RouterScanning = 165,
  ModeInfrastructure = 166,
  ModeAccessPoint = 167,
  ModeProvisioning = 168,
  ModeAdHoc = 169,
  ChannelLabel = 170,
  SecurityModeLabel = 171,
  RssiLabel = 172,
  SpecialPageTitle = 173,
  ReconnectAfterApMode = 176,
  SearchAgain = 177,
  ReconnectIfDropped = 178,
  DeviceMayBeBusy = 179,
  SettingsNotWritten = 180,
  ApModeHowToInfrastructure = 181,

  // Commands.
  FirmwareFileTooLarge = 190,
  AdapterUnusable = 191,        // format: AdapterUnusableText
  AdapterAddressInvalid = 192,  // format: AdapterAddressInvalidText
  FirmwareMacLine = 193,        // format: FirmwareMacLineText

  // Main window and its window menu.
  SearchResults = 200,
  SelectionNoLabel = 201,
  FirmwareVersionCaption = 202,
  SearchButton = 203,
  SetButton = 204,
  FirmwareButton = 205,
  ExitButton = 206,
  WindowMenuName = 207,
  WindowMenuTip = 208,  // format: WindowMenuTipText

  // Search dialog; its labels shared with other dialogs.
  SearchPasswordLabel = 220,
  ShowCharacters = 221,
  SavePassword = 222,
  DeleteButton = 223,
  OneDeviceOnly = 224,
  SearchMacLabel = 225,
  CancelButton = 226,
  PasswordTooLong = 227,

  // Tool settings dialog, the adapters' type names and the error texts.
  ToolSettingsTitle = 240,
  HostGroup = 241,
  CurrentChoice = 242,
  RescanButton = 243,
  HostIpAddress = 244,
  MacAddressLabel = 245,
  HostChangeNote = 246,
  SendCountLabel = 247,
  RecvCountLabel = 248,
  RecvDelayLabel = 249,
  DefaultValuesButton = 250,
  NumberRange = 251,  // format: NumberRangeText
  ScanAllModeShown = 252,
  HostWithAddress = 253,    // format: HostWithAddressText
  StoredHostInvalid = 254,  // format: StoredHostInvalidText
  SendCountBadCharacters = 255,
  SendCountOutOfRange = 256,
  RecvDelayBadCharacters = 257,
  RecvDelayOutOfRange = 258,
  RecvCountBadCharacters = 259,
  RecvCountOutOfRange = 260,
  ErrorCodeOnly = 261,  // format: ErrorCodeOnlyText
  AdapterTypeOther = 262,
  AdapterTypeEthernet = 263,
  AdapterTypeTokenRing = 264,
  AdapterTypePpp = 265,
  AdapterTypeLoopback = 266,
  AdapterTypeAtm = 267,
  AdapterTypeWireless = 268,
  AdapterTypeUnknown = 269,

  // Factory reset dialog; the progress dialog's dots and byte count.
  FactoryResetTitle = 270,
  EraseMode = 271,
  Dots0 = 272,
  Dots1 = 273,
  Dots2 = 274,
  Dots3 = 275,
  Dots4 = 276,
  ByteCount = 277,  // format: ByteCountText

  // Network page.
  IpAddressGroup = 300,
  ManualSetting = 301,
  LocalIpAddress = 302,
  SubnetMask = 303,
  DefaultGateway = 304,
  PortNumber = 305,
  OperationModeGroup = 306,
  ServerIpAddress = 307,
  DnsConnect = 308,
  DnsServerIpAddress = 309,
  DomainName = 310,

  // Serial page.
  ComPortGroup = 320,
  BaudRate = 321,
  DataBits = 322,
  Parity = 323,
  StopBits = 324,
  FlowControl = 325,
  SendTimingGroup = 326,
  SendTime = 327,
  SendTimeRange = 328,
  SendSize = 329,
  SendSizeRange = 330,
  SendChar = 331,
  SendCharRange = 332,
  ZeroDisables = 333,

  // Option page.
  TcpTimerGroup = 340,
  DisconnectTime = 341,
  SecondsRange = 342,
  KeepaliveInterval = 343,
  SearchPasswordGroup = 344,
  PasswordUpTo8 = 345,
  ConnectPasswordGroup = 346,
  PasswordEnabled = 347,

  // Wi-Fi page.
  InfrastructureGroup = 360,
  SearchRouters = 361,
  AccessPointGroup = 362,
  InfrastructureSsid = 363,
  InfrastructurePassword = 364,
  AccessPointSsid = 365,
  AccessPointPassword = 366,
  SecurityMode = 367,
  WifiChannel = 368,
  CurrentMode = 369,
  LinkChannel = 370,  // format: LinkChannelText

  // Router selection dialog.
  NoRouterFound = 380,
  SelectRouterTitle = 381,
  SelectRouterPrompt = 382,
  SelectButton = 383,
  RouterMac = 384,

  // Special page.
  MsgConnectToUart = 400,
  MsgDisconnectToUart = 401,
  MsgConnectToClient = 402,
  LeaseTime = 403,
  LeaseTimeRange = 404,
  UpTo16Characters = 405,
  TcpPasswordGroup = 406,
  TcpPasswordSet = 407,
  PasswordUpTo32 = 408,
  JudgeTime = 409,
  JudgeTimeRange = 410,
  RestoreDefaults = 411,
  SetClock = 412,
  TcpDisconnect = 413,

  // The pages' refusals; "[%s]" takes the page's title (RefusalText).
  LocalPortInvalid = 500,
  LocalAddressInvalid = 501,
  SubnetMaskInvalid = 502,
  ServerPortInvalid = 503,
  SendTimeInvalid = 504,
  SendSizeInvalid = 505,
  SendCharNotHex = 506,
  SendCharInvalid = 507,
  BaudRateInvalid = 508,
  DataBitsInvalid = 509,
  ParityInvalid = 510,
  StopBitsInvalid = 511,
  FlowControlInvalid = 512,
  SearchPasswordLeadingSpace = 513,
  ConnectPasswordLeadingSpace = 514,
  DisconnectTimeInvalid = 515,
  KeepaliveIntervalInvalid = 516,
  ApPasswordTooShort = 517,
  LeaseTimeInvalid = 518,
  JudgeTimeInvalid = 519,

  // The command line, lx47ctl: 600 its help, 620 its command line, 640 the
  // values it is given, 660 what it reports, 690 its headings.
  CtlUsage = 600,
  CtlSearchHelp = 601,
  CtlShowHelp = 602,
  CtlSetHelp = 603,
  CtlSaveHelp = 604,
  CtlLoadHelp = 605,
  CtlResetHelp = 606,
  CtlFirmwareHelp = 607,
  CtlRoutersHelp = 608,
  CtlClockHelp = 609,
  CtlDisconnectHelp = 610,
  CtlFieldsHelp = 611,
  CtlUnknownCommand = 620,  // format: CtlUnknownCommandText
  CtlUnknownOption = 621,  // format: CtlUnknownOptionText
  CtlOptionNeedsValue = 622,  // format: CtlOptionNeedsValueText
  CtlSeeHelp = 623,
  CtlBadArguments = 624,  // format: CtlBadArgumentsText
  CtlOptionNotForCommand = 625,  // format: CtlOptionNotForCommandText
  CtlBadMac = 626,  // format: CtlBadMacText
  CtlUnknownField = 627,  // format: CtlUnknownFieldText
  CtlFieldTwice = 628,  // format: CtlFieldTwiceText
  CtlNoAssignments = 629,
  CtlExtendedLocked = 630,
  CtlConfirmNeedsYes = 631,
  CtlConfirmPrompt = 632,
  CtlAddressExpected = 640,
  CtlDigitsOnly = 641,
  CtlTooLong = 642,  // format: CtlTooLongText
  CtlValueNotAccepted = 643,  // format: CtlValueNotAcceptedText
  CtlNeedsExtended = 644,
  CtlModeFixed = 645,
  CtlNotWrittenWithDhcp = 646,
  CtlServerFieldsUnused = 647,
  CtlConnectSwitchUnavailable = 648,
  CtlConnectPasswordOff = 649,
  CtlOpenSecurity = 650,
  CtlReadOnly = 651,
  CtlKeptAsIs = 652,  // format: CtlKeptAsIsText
  CtlFieldMessage = 653,  // format: CtlFieldMessageText
  CtlChangeLine = 660,  // format: CtlChangeLineText
  CtlNoChanges = 661,
  CtlWillChange = 662,
  CtlChanged = 663,
  CtlDryRunNote = 664,
  CtlSaved = 665,  // format: CtlSavedText
  CtlFileUnwritable = 666,  // format: CtlFileUnwritableText
  CtlFileNotJson = 667,  // format: CtlFileNotJsonText
  CtlNotConfigFile = 668,  // format: CtlNotConfigFileText
  CtlConfigVersion = 669,  // format: CtlConfigVersionText
  CtlConfigOtherDevice = 670,  // format: CtlConfigOtherDeviceText
  CtlConfigMissing = 671,  // format: CtlConfigMissingText
  CtlConfigWrongType = 672,  // format: CtlConfigWrongTypeText
  CtlConfigUnknown = 673,  // format: CtlConfigUnknownText
  CtlSummary = 674,  // format: CtlSummaryText
  CtlNotRun = 675,
  CtlFirmwareVersionChange = 676,  // format: CtlFirmwareVersionChangeText
  CtlNotFoundAfterUpdate = 677,
  CtlClockSet = 678,
  CtlTcpDisconnected = 679,
  CtlProgress = 680,  // format: CtlProgressText
  CtlIpAddressHeading = 690,
  CtlWifiModeHeading = 691,
  CtlRouterMacHeading = 692,
  CtlExtendedMark = 693,
  CtlReadOnlyMark = 694,
  CtlFieldHeading = 695,
  CtlPageHeading = 696,
  CtlValuesHeading = 697,
  CtlLabelHeading = 698,
  CtlTextValue = 699,
};

}  // namespace lx47::texts
