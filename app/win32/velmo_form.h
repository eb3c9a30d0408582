// TVelmoForm: the main window: the operator's settings, the runs, the progress display.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/drivers.h"
#include "app/settings.h"
#include "app/win32/form.h"
#include "controls/win32/lib_bt_btn.h"
#include "controls/win32/lib_c_chk.h"
#include "controls/win32/lib_edit.h"
#include "controls/win32/lib_label.h"
#include "controls/win32/lib_panel.h"
#include "net/ftp.h"
#include "net/pop3.h"
#include "platform/profile.h"
#include "steps/lib_lha.h"
#include "steps/progress_view.h"
#include "steps/run_context.h"

namespace velmo::app {

class TPOPForm;
class TNETForm;

// What the start-up hands the main window.
struct VelmoFormOptions {
    std::string applicationTitle;         // "データ送信" picks the send mode
    std::vector<std::string> arguments;   // the command line after the program's name
    std::string programFolder;            // settings file, log file and work files
    steps::LibLha32* archiver = nullptr;  // the archiver library, loaded at start
};

// The folder picker: the chosen folder, or nullopt when the operator cancelled.
using FolderPicker = std::function<std::optional<std::string>(
    HWND owner, const std::string& caption, const std::string& startFolder)>;

class TVelmoForm : public TForm, public steps::ProgressView {
  public:
    explicit TVelmoForm(const VelmoFormOptions& options);
    ~TVelmoForm() override;

    // The two dialogs whose fields belong to the settings; created after this window.
    void AttachDialogs(TPOPForm& pop, TNETForm& net);
    // Shows the window: the settings are read into the controls here.
    void Show();
    // Called once the window has closed: the application ends its message loop there.
    std::function<void()> OnClosed;
    bool Closed() const { return closed_; }
    // True while a run or a single step is working.
    bool Running() const { return running_; }
    steps::RunContext& Run() { return run_; }
    // The components the window owns.
    std::unique_ptr<steps::TLibLha> LibLha;
    net::T_FTP FTP;
    net::T_Pop3 POP;
    FolderPicker PickFolder;

    // Operations of the settings (the section is the window's caption).
    void LoadFormPosition();
    void SaveFormPosition();
    void LoadSettings();
    void SaveSettings();
    steps::SettingsRecord CollectSettings() const;
    SettingsValues ControlValues() const;

    // Window state.
    platform::ProfileFile SettingsFile;
    std::string ProgramFolder;
    int RunMode = 0;      // 0 full, 1 send, 2 receive
    int CloseResult = 2;  // 1 after a completed run, 2 otherwise
    std::string LogPath;
    bool ConfirmClose = false;  // set while a run is under way: closing asks first
    std::string IniName, DefaultUser, DefaultFolder, NoDialogArg;

    // The controls, as the window holds them.
    controls::TLibPanel MainPanel;
    controls::TLibLabel LibLabel1, LibLabel2;
    controls::TLibEdit UserEdit, PassEdit;
    controls::TLibCChk LibCChk2;
    controls::TLibPanel LibPanel2;
    controls::TLibLabel Label7;
    controls::TLibEdit Edit7;
    controls::TLibLabel Label2;
    controls::TLibEdit Edit2;
    controls::TLibBtBtn LibBtBtn3, LibBtBtn2, CloseButton2;
    controls::TLibPanel LibPanel3;
    controls::TLibLabel Label1;
    controls::TLibEdit Edit1;
    controls::TLibBtBtn LibBtBtn4;
    controls::TLibLabel Label3;
    controls::TLibEdit Edit3;
    controls::TLibLabel Label4;
    controls::TLibEdit Edit4;
    controls::TLibLabel Label5;
    controls::TLibEdit Edit5;
    controls::TLibLabel Label6;
    controls::TLibEdit Edit6;
    controls::TLibCChk LibCChk1;
    controls::TLibBtBtn LibBtBtn1, CloseButton1;
    controls::TLibPanel LibPanel9;
    controls::TLibBtBtn Button1, Button2, Button4, Button7, Button8;
    controls::TPlainControl FileListBox;
    controls::TLibPanel LibPanel1;
    controls::TLibLabel ProLabel1, ProLabel2;
    controls::TLibBtBtn ProButton;
    controls::TMemo Memo1;
    controls::TPlainControl StatusBar;

    // The progress display the steps and drivers report through.
    void SetStepLine(std::string_view text) override;
    void SetDetailLine(std::string_view text) override;
    void AddLogLine(std::string_view text) override;
    void ClearLog() override;
    std::vector<std::string> LogLines() const override;
    void SetPanelColour(steps::PanelColour colour) override;
    void ShowProgressPanel() override;
    void ProcessMessages() override;
    void EnablePanels(bool enabled) override;
    void ShowProButton(std::string_view caption, bool focus) override;
    void HideProButton() override;
    void Beep() override;
    void ShowWarning(std::string_view text) override;
    void ShowInfo(std::string_view text) override;

  private:
    void FormCreate(const VelmoFormOptions& options);
    void ParseArguments(const std::vector<std::string>& arguments);
    void LayOutForRunMode();
    void ApplyReducedLayout();
    void FormShow();
    LRESULT FormCloseQuery();
    void FormDestroy();
    void TimerTimer(WPARAM id);
    void BindHandlers();

    void LibBtBtn1Click();
    void LibBtBtn2Click();
    void CloseButtonClick();
    void ProButtonClick();
    void LibCChk1Click();
    void LibCChk2Click();
    void LibBtBtn3Click();
    void LibBtBtn4Click();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void Button7Click();
    void Button8Click();

    void RunDriver(bool send);
    void RunSingleStep(const std::function<void(steps::RunContext&)>& step);
    void ChooseFolder(controls::TLibEdit& edit, const std::string& caption);
    void PutValues(const SettingsValues& values);
    void FillDialEntries();
    void CloseNow();
    bool NoDialog() const { return !NoDialogArg.empty(); }

    TPOPForm* pop_ = nullptr;
    TNETForm* net_ = nullptr;
    steps::RunContext run_;
    DriverSteps steps_;
    bool running_ = false;
    bool closeAfterRun_ = false;
    bool closed_ = false;
    bool shown_ = false;
    bool placed_ = false;  // a stored position was applied: no centring
};

}  // namespace velmo::app
