#pragma once
// The main dialog: initialisation in its fixed order, painting, the close sequence and the command map.

#include <array>
#include <memory>
#include <string>

#include "adapters/Ipv4Settings.h"
#include "app/Platform.h"
#include "app/ProfileIcons.h"
#include "controls/ColorStatic.h"
#include "controls/HyperLinker.h"
#include "controls/IconComboBox.h"
#include "controls/ListBoxCH.h"
#include "platform/window/CDialog.h"
#include "services/UpdateCheckWorker.h"

namespace app {

class CCorvaneDlg : public win::CDialog {
  public:
    explicit CCorvaneDlg(Platform& platform);

    bool OnInitDialog() override;
    void OnSysCommand(win::UINT commandId) override;
    void OnPaint(win::DeviceContext& dc) override;
    win::HICON OnQueryDragIcon() override;
    void OnClose() override;
    void OnOK() override;
    void OnDestroy() override;

    // Commands (the command map routes the buttons and notifications here).
    void OnSwitch();
    void OnAddProfile();
    void OnModifyProfile();
    void OnDeleteProfile();
    void OnSelectProfile();
    void OnGetCurrentConfig();
    // Help, About and start at logon (CorvaneDlgServices.cpp).
    void OnHelp();
    void OnAbout();
    void OnAutostartClicked();
    // Adapter box and address controls (CorvaneDlgAdapters.cpp).
    void RefreshAdapters();
    void ShowAdapterSettings();
    // Writes the profile's addresses into the adapter box's adapter and announces them; false, after
    // the specific message, on failure or when no adapter is selected.
    bool ApplyToSelectedAdapter(const adapters::Ipv4Settings& settings);

  protected:
    bool OnCmdMsg(int controlId, win::UINT notifyCode) override;

  private:
    void DoDataExchange();
    void AddAboutMenuItem();
    void LoadProfiles();
    void SaveProfiles();
    void StoreAutoExitOption();
    // A message box with the caption "提示" (string IDS_PROMPT_CAPTION); returns the button pressed.
    int ShowPrompt(int stringId, win::UINT type);
    // Profile editing (CorvaneDlgProfiles.cpp).
    bool TakeSelectedProfile(int& index) const;
    bool ComposeProfileFromControls(std::string& line, int& iconNumber);
    void ShowProfileButtons(bool show);
    std::string SelectedAdapterText() const;
    int CurrentProfileIndex() const;
    void AddProfileEntry(const std::string& name, int iconNumber);
    void InsertProfileEntry(int index, const std::string& name, int iconNumber);
    // Custom controls (CorvaneDlgControls.cpp).
    void BindControls();
    void SetContactLinks();
    void FillIconBox();
    void FillProfileList();
    // Coloured labels and icon buttons (CorvaneDlgColors.cpp).
    struct ColorLabel {
        controls::CColorStatic CCorvaneDlg::*label;
        int controlId;
        win::COLORREF backColor;
    };
    static const std::array<ColorLabel, 16>& ColorLabels();
    void BindColorLabels();
    void SetLabelColors();
    void SetButtonIcons();
    // Update check and start at logon (CorvaneDlgServices.cpp).
    void StartUpdateCheck();
    void ReadAutostartState();

    Platform& platform_;
    // Declared before the controls so the list's rows never outlive the icons they show.
    ProfileIcons profileIcons{platform_.window};
    // The sixteen coloured labels and group boxes.
    controls::CColorStatic optionsGroupLabel{platform_.window};
    controls::CColorStatic switchLabel{platform_.window};
    controls::CColorStatic deleteLabel{platform_.window};
    controls::CColorStatic modifyLabel{platform_.window};
    controls::CColorStatic addLabel{platform_.window};
    controls::CColorStatic configGroupLabel{platform_.window};
    controls::CColorStatic contactGroupLabel{platform_.window};
    controls::CColorStatic alternateDnsLabel{platform_.window};
    controls::CColorStatic preferredDnsLabel{platform_.window};
    controls::CColorStatic gatewayLabel{platform_.window};
    controls::CColorStatic maskLabel{platform_.window};
    controls::CColorStatic ipLabel{platform_.window};
    controls::CColorStatic adapterLabel{platform_.window};
    controls::CColorStatic iconLabel{platform_.window};
    controls::CColorStatic nameLabel{platform_.window};
    controls::CColorStatic listLabel{platform_.window};
    controls::CHyperLinker mailLink{platform_.shell, *this};
    controls::CHyperLinker homepageLink{platform_.shell, *this};
    controls::CHyperLinker messengerLink{platform_.shell, *this};
    controls::CLargeIconComboBox iconBox;
    controls::CListBoxCH profileList;
    std::string modulePath;
    // The profile file and the auto-exit marker beside the executable; set by the initialisation.
    std::string profileFilePath;
    std::string autoExitMarkerPath;
    win::HICON appIcon = nullptr;
    bool profileFileOpened_ = false;
    // False when the executable's path cannot name the files beside it (too long, or not GBK).
    bool modulePathUsable_ = false;
    // Last, so it goes first: it waits for the worker, which must not outlive any other member.
    std::unique_ptr<services::UpdateCheckThread> updateCheck_;
};

}  // namespace app
