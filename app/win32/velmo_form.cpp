// The main window: layout by run mode, settings in and out of the controls, the runs.
#include "app/win32/velmo_form.h"

#include <commctrl.h>

#include "app/win32/alerts.h"
#include "app/win32/folder_browser.h"
#include "app/win32/glyphs.h"
#include "app/win32/settings_dialogs.h"
#include "controls/win32/copy_progress_window.h"
#include "controls/win32/house_look.h"
#include "platform/text.h"
#include "steps/ftp_events.h"
#include "steps/password.h"
#include "steps/steps.h"


namespace velmo::app {
namespace {

using controls::HouseFont;
using controls::kFormFace;
using controls::kPanelFace;

constexpr int kClientWidth = 633, kClientHeight = 832;
constexpr UINT_PTR kStartTimer = 1;  // Timer: 100 ms, never enabled

enum ControlId {
    kMainPanel = 100,
    kLibLabel1,
    kLibLabel2,
    kUserEdit,
    kPassEdit,
    kLibCChk2,
    kLibPanel2,
    kLabel7,
    kEdit7,
    kLabel2,
    kEdit2,
    kLibBtBtn3,
    kLibBtBtn2,
    kCloseButton2,
    kLibPanel3,
    kLabel1,
    kEdit1,
    kLibBtBtn4,
    kLabel3,
    kEdit3,
    kLabel4,
    kEdit4,
    kLabel5,
    kEdit5,
    kLabel6,
    kEdit6,
    kLibCChk1,
    kLibBtBtn1,
    kCloseButton1,
    kLibPanel9,
    kButton1,
    kButton2,
    kButton4,
    kButton7,
    kButton8,
    kFileListBox,
    kLibPanel1,
    kProLabel1,
    kProLabel2,
    kProButton,
    kMemo1,
    kStatusBar,
};

// The designed places, in client pixels of the window or of the panel that holds them.
constexpr Bounds kMainPanelPlace{10, 10, 615, 373};
constexpr Bounds kLibLabel1Place{12, 13, 100, 18};
constexpr Bounds kUserEditPlace{120, 8, 453, 24};
constexpr Bounds kLibLabel2Place{12, 41, 100, 18};
constexpr Bounds kPassEditPlace{120, 36, 129, 24};
constexpr Bounds kLibCChk2Place{270, 36, 230, 24};

constexpr Bounds kLibPanel2Place{33, 395, 567, 172};
constexpr Bounds kLabel7Place{8, 40, 160, 18};
constexpr Bounds kEdit7Place{170, 35, 380, 24};
constexpr Bounds kLabel2Place{8, 75, 160, 18};
constexpr Bounds kEdit2Place{170, 70, 346, 24};
constexpr Bounds kLibBtBtn3Place{520, 70, 30, 24};
constexpr Bounds kLibBtBtn2Place{150, 112, 120, 30};
constexpr Bounds kCloseButton2Place{297, 112, 120, 30};

constexpr Bounds kLibPanel3Place{33, 569, 567, 172};
constexpr Bounds kLabel1Place{8, 11, 160, 18};
constexpr Bounds kEdit1Place{170, 6, 346, 24};
constexpr Bounds kLibBtBtn4Place{520, 6, 30, 24};
constexpr Bounds kLabel3Place{8, 41, 160, 18};
constexpr Bounds kEdit3Place{170, 36, 380, 24};
constexpr Bounds kLabel4Place{8, 71, 160, 18};
constexpr Bounds kEdit4Place{170, 66, 180, 24};
constexpr Bounds kLibCChk1Place{370, 66, 180, 24};
constexpr Bounds kLabel5Place{8, 101, 160, 18};
constexpr Bounds kEdit5Place{170, 96, 120, 24};
constexpr Bounds kLabel6Place{298, 101, 142, 18};
constexpr Bounds kEdit6Place{440, 96, 110, 24};
constexpr Bounds kLibBtBtn1Place{150, 130, 120, 30};
constexpr Bounds kCloseButton1Place{297, 130, 120, 30};

constexpr Bounds kLibPanel9Place{33, 743, 567, 58};
constexpr Bounds StepButtonPlace(int i) { return {8 + 111 * i, 14, 100, 30}; }
constexpr Bounds kFileListBoxPlace{8, 4, 40, 20};

constexpr Bounds kLibPanel1Place{34, 75, 567, 172};
constexpr Bounds kProLabel1Place{16, 24, 535, 22};
constexpr Bounds kProLabel2Place{16, 64, 535, 22};
constexpr Bounds kProButtonPlace{223, 120, 120, 30};
constexpr Bounds kMemo1Place{34, 244, 567, 123};

constexpr COLORREF kGrey = RGB(128, 128, 128);

// A run or a single step under way: closing asks first, and a close the operator
// confirmed meanwhile happens once the work (and its clean-up) is over.
class RunState {
  public:
    RunState(bool& running, bool& confirmClose, std::function<void()> finished)
        : running_(running), confirmClose_(confirmClose), finished_(std::move(finished)) {
        running_ = true;
        confirmClose_ = true;
    }
    ~RunState() {
        running_ = false;
        confirmClose_ = false;
        finished_();
    }
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

  private:
    bool& running_;
    bool& confirmClose_;
    std::function<void()> finished_;
};

}  // namespace

TVelmoForm::TVelmoForm(const VelmoFormOptions& options)
    : TForm(L"TVelmoForm", "Velmo", FormStyle{WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0}, nullptr,
            kClientWidth, kClientHeight),
      SettingsFile(""),
      MainPanel(Handle(), kMainPanel, kMainPanelPlace, HouseFont(kPanelFace)),
      LibLabel1(MainPanel.Handle(), kLibLabel1, kLibLabel1Place, "ユーザＩＤ"),
      LibLabel2(MainPanel.Handle(), kLibLabel2, kLibLabel2Place, "パスワード"),
      UserEdit(MainPanel.Handle(), kUserEdit, kUserEditPlace),
      PassEdit(MainPanel.Handle(), kPassEdit, kPassEditPlace),
      LibCChk2(MainPanel.Handle(), kLibCChk2, kLibCChk2Place, "ダイアルアップ接続設定"),
      LibPanel2(Handle(), kLibPanel2, kLibPanel2Place, HouseFont(kPanelFace)),
      Label7(LibPanel2.Handle(), kLabel7, kLabel7Place, "受信アドレス："),
      Edit7(LibPanel2.Handle(), kEdit7, kEdit7Place),
      Label2(LibPanel2.Handle(), kLabel2, kLabel2Place, "保存フォルダ："),
      Edit2(LibPanel2.Handle(), kEdit2, kEdit2Place),
      LibBtBtn3(LibPanel2.Handle(), kLibBtBtn3, kLibBtBtn3Place, ""),
      LibBtBtn2(LibPanel2.Handle(), kLibBtBtn2, kLibBtBtn2Place, "受信開始"),
      CloseButton2(LibPanel2.Handle(), kCloseButton2, kCloseButton2Place, "受信終了"),
      LibPanel3(Handle(), kLibPanel3, kLibPanel3Place, HouseFont(kPanelFace)),
      Label1(LibPanel3.Handle(), kLabel1, kLabel1Place, "送信対象フォルダ："),
      Edit1(LibPanel3.Handle(), kEdit1, kEdit1Place),
      LibBtBtn4(LibPanel3.Handle(), kLibBtBtn4, kLibBtBtn4Place, ""),
      Label3(LibPanel3.Handle(), kLabel3, kLabel3Place, "送信先ＦＴＰサーバ："),
      Edit3(LibPanel3.Handle(), kEdit3, kEdit3Place),
      Label4(LibPanel3.Handle(), kLabel4, kLabel4Place, "ＦＴＰフォルダ："),
      Edit4(LibPanel3.Handle(), kEdit4, kEdit4Place),
      Label5(LibPanel3.Handle(), kLabel5, kLabel5Place, "ＦＴＰユーザＩＤ："),
      Edit5(LibPanel3.Handle(), kEdit5, kEdit5Place),
      Label6(LibPanel3.Handle(), kLabel6, kLabel6Place, "ＦＴＰパスワード："),
      Edit6(LibPanel3.Handle(), kEdit6, kEdit6Place),
      LibCChk1(LibPanel3.Handle(), kLibCChk1, kLibCChk1Place, "POP before FTP"),
      LibBtBtn1(LibPanel3.Handle(), kLibBtBtn1, kLibBtBtn1Place, "送信開始"),
      CloseButton1(LibPanel3.Handle(), kCloseButton1, kCloseButton1Place, "送信終了"),
      LibPanel9(Handle(), kLibPanel9, kLibPanel9Place, HouseFont(kPanelFace)),
      Button1(LibPanel9.Handle(), kButton1, StepButtonPlace(0), "① Down"),
      Button2(LibPanel9.Handle(), kButton2, StepButtonPlace(1), "② 解凍"),
      Button4(LibPanel9.Handle(), kButton4, StepButtonPlace(2), "④ 消去"),
      Button7(LibPanel9.Handle(), kButton7, StepButtonPlace(3), "⑦ 圧縮"),
      Button8(LibPanel9.Handle(), kButton8, StepButtonPlace(4), "⑧ Up"),
      FileListBox(L"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_DISABLED, 0, LibPanel9.Handle(),
                  kFileListBox, kFileListBoxPlace),
      LibPanel1(Handle(), kLibPanel1, kLibPanel1Place, HouseFont(kPanelFace)),
      ProLabel1(LibPanel1.Handle(), kProLabel1, kProLabel1Place, ""),
      ProLabel2(LibPanel1.Handle(), kProLabel2, kProLabel2Place, ""),
      ProButton(LibPanel1.Handle(), kProButton, kProButtonPlace, "中　止"),
      Memo1(Handle(), kMemo1, kMemo1Place),
      StatusBar(STATUSCLASSNAMEW, WS_VISIBLE, 0, Handle(), kStatusBar, {0, 0, 0, 0}),
      run_(*this, [this] { return CollectSettings(); }),
      steps_(DriverSteps::Standard()) {
    FormCreate(options);
}

TVelmoForm::~TVelmoForm() {
    // The handlers (FormDestroy among them) need the whole window object.
    DestroyHandle();
}

void TVelmoForm::AttachDialogs(TPOPForm& pop, TNETForm& net) {
    pop_ = &pop;
    net_ = &net;
}

void TVelmoForm::FormCreate(const VelmoFormOptions& options) {
    SetFont(HouseFont(kFormFace));
    Memo1.SetFont(HouseFont(kFormFace));
    MainPanel.SetColour(kGrey);
    LibPanel1.SetColour(controls::kSilver);
    for (controls::TLibEdit* password : {&PassEdit, &Edit6}) password->SetPasswordChar(L'*');
    PassEdit.SetMaxLength(static_cast<int>(steps::kPasswordFieldBytes));
    LibCChk1.SetChecked(true);
    LibCChk2.SetChecked(true);
    LibBtBtn3.SetGlyph(FolderGlyph());
    LibBtBtn4.SetGlyph(FolderGlyph());
    int parts[] = {50};
    SendMessageW(StatusBar.Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    // Everything else lies over the account panel: the progress panel, the memo and, in the
    // send and receive layouts, the mode's panel in the progress panel's place.
    SetWindowPos(MainPanel.Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(LibPanel1.Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BindHandlers();

    ProgramFolder = options.programFolder;
    SettingsFile = platform::ProfileFile(platform::JoinPath(ProgramFolder, "Velmo.ini"));
    LogPath = platform::JoinPath(ProgramFolder, "Velmo.log");
    run_.ProgramFolder = ProgramFolder;
    if (options.archiver) {
        LibLha = std::make_unique<steps::TLibLha>(*options.archiver);
        LibLha->ApplicationWindow = Handle();
        LibLha->ConfirmCommandLine = [this](const std::string& commandLine,
                                            const std::string& caption) {
            return ShowBox(Handle(), BoxKind::Confirm, commandLine, caption) == IDOK;
        };
    }
    run_.LibLha = LibLha.get();
    steps::AttachComponents(run_, FTP, POP);
    run_.CopyIntoFolder = [this](const std::string& source, const std::string& destination) {
        controls::TCopyProgressWindow progress(Handle(), [] { app::ProcessMessages(); });
        return controls::CopyFileWithProgress(source, destination, &progress);
    };
    // Dial-up control is not in this window yet: a selected phone-book entry cannot come up,
    // while the local network needs no dial at all.
    run_.DialUp = [](steps::RunContext& r) {
        return !(r.settings.UseDialUp && !r.settings.DialEntry.empty());
    };
    ConfirmClose = false;
    RunMode = 0;
    IniName.clear();
    DefaultUser.clear();
    DefaultFolder.clear();
    NoDialogArg.clear();

    ParseArguments(options.arguments);
    if (options.applicationTitle == "データ送信") RunMode = 1;
    if (options.applicationTitle == "データ受信") RunMode = 2;
    LayOutForRunMode();
    LoadFormPosition();
}

void TVelmoForm::BindHandlers() {
    On(WM_CLOSE, [this](WPARAM, LPARAM) { return FormCloseQuery(); });
    On(WM_DESTROY, [this](WPARAM, LPARAM) {
        FormDestroy();
        return 0;
    });
    On(WM_TIMER, [this](WPARAM id, LPARAM) {
        TimerTimer(id);
        return 0;
    });
    // The status bar keeps to the bottom when the run mode changes the window's size.
    On(WM_SIZE, [this](WPARAM w, LPARAM l) {
        SendMessageW(StatusBar.Handle(), WM_SIZE, w, l);
        return 0;
    });
    OnClick(LibBtBtn1, [this] { LibBtBtn1Click(); });
    OnClick(LibBtBtn2, [this] { LibBtBtn2Click(); });
    OnClick(CloseButton1, [this] { CloseButtonClick(); });
    OnClick(CloseButton2, [this] { CloseButtonClick(); });
    OnClick(ProButton, [this] { ProButtonClick(); });
    OnClick(LibCChk1, [this] { LibCChk1Click(); });
    OnClick(LibCChk2, [this] { LibCChk2Click(); });
    OnClick(LibBtBtn3, [this] { LibBtBtn3Click(); });
    OnClick(LibBtBtn4, [this] { LibBtBtn4Click(); });
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnClick(Button4, [this] { Button4Click(); });
    OnClick(Button7, [this] { Button7Click(); });
    OnClick(Button8, [this] { Button8Click(); });
}

// A switch the parser cannot take leaves what was read before it.
void TVelmoForm::ParseArguments(const std::vector<std::string>& arguments) {
    try {
        CommandLine c = ParseCommandLine(arguments);
        RunMode = c.runMode;
        DefaultUser = c.defaultUser;
        DefaultFolder = c.defaultFolder;
        IniName = c.iniName;
        NoDialogArg = c.noDialogArg;
        SettingsFile = platform::ProfileFile(SettingsPath(ProgramFolder, c));
    } catch (const std::exception&) {
        // As designed: the command line never stops the program.
    }
}

void TVelmoForm::LayOutForRunMode() {
    if (NoDialog()) SetTopMost(true);
    if (RunMode == 0) return;
    const Bounds main = MainPanel.GetBounds();
    SetOuterSize(main.width + 25, main.height + 65);
    SetCaption(RunMode == 1 ? "データ送信" : "データ受信");
    controls::TLibPanel& mine = RunMode == 1 ? LibPanel3 : LibPanel2;
    controls::TLibPanel& other = RunMode == 1 ? LibPanel2 : LibPanel3;
    const Bounds progress = LibPanel1.GetBounds();
    Bounds place = mine.GetBounds();
    place.left = progress.left;
    place.top = progress.top;
    mine.SetBounds(place);
    LibPanel1.Hide();
    LibPanel9.Hide();
    other.Hide();
    mine.Show();
}

void TVelmoForm::ApplyReducedLayout() {
    Label7.Hide();
    Edit7.Hide();
    LibBtBtn3.Hide();
    Label2.SetTop(Label7.GetBounds().top);
    Edit2.SetTop(Edit7.GetBounds().top);
    for (controls::TLibControl* c :
         std::initializer_list<controls::TLibControl*>{&LibBtBtn4, &Label3, &Edit3, &Label4, &Edit4,
                                                       &Label5, &Edit5, &Label6, &Edit6, &LibCChk1})
        c->Hide();
    Label1.SetTop(Label7.GetBounds().top);
    Edit1.SetTop(Edit7.GetBounds().top);
    LibBtBtn1.SetTop(LibBtBtn2.GetBounds().top);
    CloseButton1.SetTop(CloseButton2.GetBounds().top);
    const bool folderGiven = !DefaultFolder.empty();
    Edit1.SetEnabled(!folderGiven);
    Edit2.SetEnabled(!folderGiven);
}

void TVelmoForm::Show() {
    FormShow();
    if (!shown_ && !placed_) CentreOnScreen();
    shown_ = true;
    ShowWindow(Handle(), SW_SHOW);
    if (IsIconic(Handle()) || IsZoomed(Handle())) ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
    controls::TLibBtBtn& first = RunMode == 1 ? LibBtBtn1 : RunMode == 2 ? LibBtBtn2 : ProButton;
    first.SetFocus();
}

void TVelmoForm::FormShow() {
    ProLabel1.SetText("");
    ProLabel2.SetText("");
    LoadSettings();
    CloseResult = 2;
}

LRESULT TVelmoForm::FormCloseQuery() {
    if (closed_ || closeAfterRun_) return 0;
    if (ConfirmClose && !NoDialog()) {
        if (AskConfirm(Handle(), Caption() + "を終了します、よろしいですか？") != IDOK) {
            SetForegroundWindow(Handle());
            return 0;
        }
    }
    if (running_) {
        // Stop as the abort button does; the window goes once the clean-up has run.
        run_.AbortFlag = true;
        closeAfterRun_ = true;
        return 0;
    }
    CloseNow();
    return 0;
}

void TVelmoForm::CloseNow() {
    if (closed_) return;
    closed_ = true;
    closeAfterRun_ = false;
    SetModalResult(CloseResult);
    Hide();
    if (OnClosed) OnClosed();
}

void TVelmoForm::FormDestroy() { SaveFormPosition(); }

void TVelmoForm::TimerTimer(WPARAM id) {
    if (id != kStartTimer) return;
    KillTimer(Handle(), kStartTimer);
    if (RunMode == 1) LibBtBtn1Click();
    if (RunMode == 2) LibBtBtn2Click();
}

void TVelmoForm::LoadFormPosition() {
    FormPlacement p = ReadFormPosition(SettingsFile, Caption());
    if (!p.stored) return;
    placed_ = true;
    MoveTo(static_cast<int>(p.left), static_cast<int>(p.top));
}

void TVelmoForm::SaveFormPosition() {
    RECT r = WindowBounds();
    WriteFormPosition(SettingsFile, Caption(), r.top, r.left);
}

void TVelmoForm::LoadSettings() {
    if (!pop_ || !net_) throw std::logic_error("the settings dialogs are not attached");
    SettingsValues v = ReadSettings(SettingsFile, Caption(), DefaultUser, DefaultFolder);
    PutValues(v);
    if (!DefaultUser.empty() && NoDialog()) ApplyReducedLayout();
    LibCChk2.SetChecked(v.netCheck);
    FillDialEntries();
    net_->LibCBox1.SelectText(v.netServer);
    net_->Edit12.SetText(v.netUser);
    net_->Edit13.SetText(v.netPass);
}

void TVelmoForm::PutValues(const SettingsValues& v) {
    UserEdit.SetText(v.user);
    PassEdit.SetText(v.pass);
    Edit2.SetText(v.writeDir);
    Edit7.SetText(v.copyUrl);
    Edit1.SetText(v.readDir);
    Edit3.SetText(v.ftpServer);
    Edit4.SetText(v.ftpDir);
    Edit5.SetText(v.ftpUser);
    Edit6.SetText(v.ftpPass);
    LibCChk1.SetChecked(v.popCheck);
    pop_->Edit11.SetText(v.popServer);
    pop_->Edit12.SetText(v.popUser);
    pop_->Edit13.SetText(v.popPass);
}

// The phone book's entries come from the dial-up component once it is there; until then the
// machine counts as one without dial-up, which leaves only the local network.
void TVelmoForm::FillDialEntries() {
    net_->LibCBox1.Clear();
    net_->LibCBox1.Add(kLanEntry);
}

void TVelmoForm::SaveSettings() { WriteSettings(SettingsFile, Caption(), ControlValues()); }

SettingsValues TVelmoForm::ControlValues() const {
    SettingsValues v;
    v.user = UserEdit.Text();
    v.pass = PassEdit.Text();
    v.writeDir = Edit2.Text();
    v.copyUrl = Edit7.Text();
    v.readDir = Edit1.Text();
    v.ftpServer = Edit3.Text();
    v.ftpDir = Edit4.Text();
    v.ftpUser = Edit5.Text();
    v.ftpPass = Edit6.Text();
    v.popCheck = LibCChk1.Checked();
    v.popServer = pop_->Edit11.Text();
    v.popUser = pop_->Edit12.Text();
    v.popPass = pop_->Edit13.Text();
    v.netCheck = LibCChk2.Checked();
    v.netServer = net_->LibCBox1.Text();
    v.netUser = net_->Edit12.Text();
    v.netPass = net_->Edit13.Text();
    return v;
}

steps::SettingsRecord TVelmoForm::CollectSettings() const {
    return app::CollectSettings(ControlValues());
}

void TVelmoForm::LibBtBtn1Click() { RunDriver(true); }

void TVelmoForm::LibBtBtn2Click() { RunDriver(false); }

void TVelmoForm::CloseButtonClick() { Close(); }

void TVelmoForm::ProButtonClick() {
    if (ProButton.Text() == "閉じる")
        Close();
    else
        run_.AbortFlag = true;
}

void TVelmoForm::LibCChk1Click() {
    if (LibCChk1.Checked()) pop_->ShowModal();
}

void TVelmoForm::LibCChk2Click() {
    if (LibCChk2.Checked()) net_->ShowModal();
}

void TVelmoForm::LibBtBtn3Click() { ChooseFolder(Edit2, "保存フォルダ"); }

void TVelmoForm::LibBtBtn4Click() { ChooseFolder(Edit1, "送信対象フォルダ"); }

void TVelmoForm::ChooseFolder(controls::TLibEdit& edit, const std::string& caption) {
    std::string start = ProgramFolder;
    if (steps::ProbeFolder(run_, edit.Text())) start = edit.Text();
    FolderPicker pick = PickFolder ? PickFolder : FolderPicker(BrowseForFolder);
    if (std::optional<std::string> chosen = pick(Handle(), caption, start)) edit.SetText(*chosen);
    std::string text = edit.Text();
    if (!text.empty() && !platform::EndsWithBackslash(text)) edit.SetText(text + "\\");
}

void TVelmoForm::Button1Click() { RunSingleStep(steps_.download); }
void TVelmoForm::Button2Click() { RunSingleStep(steps_.decryptAndUnpack); }
void TVelmoForm::Button4Click() { RunSingleStep(steps_.cleanUp); }
void TVelmoForm::Button7Click() { RunSingleStep(steps_.packAndEncrypt); }
void TVelmoForm::Button8Click() { RunSingleStep(steps_.upload); }

// The panels stay enabled during a single step, so a second start button can be pressed
// while the first one's work pumps messages: it is not started inside the first.
void TVelmoForm::RunDriver(bool send) {
    if (running_) return;
    DriverOptions options;
    options.saveSettings = [this] { SaveSettings(); };
    options.logPath = LogPath;
    options.noDialog = NoDialog();
    options.runMode = RunMode;
    RunOutcome outcome;
    {
        RunState state(running_, ConfirmClose, [this] {
            if (closeAfterRun_) CloseNow();
        });
        outcome = send ? RunSend(run_, options, steps_) : RunReceive(run_, options, steps_);
        if (outcome != RunOutcome::Refused) CloseResult = CloseResultOf(outcome);
    }
}

void TVelmoForm::RunSingleStep(const std::function<void(steps::RunContext&)>& step) {
    if (running_ || !step) return;
    RunState state(running_, ConfirmClose, [this] {
        if (closeAfterRun_) CloseNow();
    });
    step(run_);
}

// The progress display.

void TVelmoForm::SetStepLine(std::string_view text) { ProLabel1.SetText(text); }

void TVelmoForm::SetDetailLine(std::string_view text) { ProLabel2.SetText(text); }

void TVelmoForm::AddLogLine(std::string_view text) { Memo1.AddLine(text); }

void TVelmoForm::ClearLog() { Memo1.Clear(); }

std::vector<std::string> TVelmoForm::LogLines() const { return Memo1.Lines(); }

void TVelmoForm::SetPanelColour(steps::PanelColour colour) {
    LibPanel1.SetColour(colour == steps::PanelColour::Red ? controls::kRed : controls::kSilver);
}

void TVelmoForm::ShowProgressPanel() {
    LibPanel1.Show();
    SetWindowPos(LibPanel1.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TVelmoForm::ProcessMessages() { app::ProcessMessages(); }

void TVelmoForm::EnablePanels(bool enabled) {
    for (controls::TLibPanel* panel : {&MainPanel, &LibPanel2, &LibPanel3, &LibPanel9})
        panel->SetEnabled(enabled);
}

void TVelmoForm::ShowProButton(std::string_view caption, bool focus) {
    ProButton.SetText(caption);
    ProButton.Show();
    if (focus) ProButton.SetFocus();
}

void TVelmoForm::HideProButton() { ProButton.Hide(); }

void TVelmoForm::Beep() { SoundBeep(); }

void TVelmoForm::ShowWarning(std::string_view text) { app::ShowWarning(Handle(), text); }

void TVelmoForm::ShowInfo(std::string_view text) { app::ShowInfo(Handle(), text); }

}  // namespace velmo::app
