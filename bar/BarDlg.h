// CBarDlg: the bar, the one main window of a running copy. A small captionless dialog holding the
// menu button, the volume trackbar and the mute button; it owns the copy's mixer connection,
// line catalogue and tray icon, reads its settings when it initialises and writes them back once
// when it shuts down. It asks CRunningCopies about the other copies.
//
// Its operations are spread over files by concern, in the order of the sections below:
// BarDlg.cpp (initialisation and the line's selection, painting, system commands, close and
// shutdown, settings), BarDlgDpi.cpp (the layout for the screen's DPI), BarDlgMenu.cpp (the popup
// menu's content, states and commands), BarDlgPopup.cpp (opening the menu), BarDlgLaunch.cpp
// (further copies, device changes), BarDlgKeys.cpp (the global keys), BarDlgVolume.cpp (the
// slider, the mute button and the mixer's notifications, which a screen reader hears of through
// CBarAccessibility), BarDlgBody.cpp (the mouse on the bar's body) and BarDlgTray.cpp (the
// notification area).
#pragma once

#include "app/RoleLauncher.h"
#include "app/RunningCopies.h"
#include "bar/BarAccessibility.h"
#include "bar/BarLayout.h"
#include "bar/DrivenLine.h"
#include "bar/HotKeys.h"
#include "bar/ProgramEntries.h"
#include "draw/ImageButton.h"
#include "draw/LineBitmaps.h"
#include "draw/MappedBitmap.h"
#include "draw/PictureScale.h"
#include "fw/Dialog.h"
#include "fw/SliderCtrl.h"
#include "fw/ToolTipCtrl.h"
#include "mixer/LineSelection.h"

#include <windows.h>

#include <array>
#include <memory>

class CLineCatalogue;
class CMixerDevice;
class CTrayIcon;

// What the bar drives is its SDrivenLine: m_nCardIndex, m_bInput, m_nMenuIndex, m_dwComponentType,
// m_dwProgram and m_wstrProgramName.
class CBarDlg : public CDialog, public SDrivenLine {
public:
    // The parts of the initialisation, in the order they run.
    enum class EStartupStep {
        Controls,
        Settings,
        Mixer,
        Line,
        Menu,
        Placement,
        ToolTips,
        Pictures,
        ControlStates
    };

    // copies answers for the other copies of the program; startTurn is this copy's turn to
    // start, which the bar ends once it stands in its place.
    explicit CBarDlg(CRunningCopies& copies, CStartTurn startTurn = {}, CWnd* pParent = nullptr);
    ~CBarDlg() override;

    // The shutdown sequence (once), then the window's destruction.
    BOOL DestroyWindow() override;
    // Relays every message to the tooltips and turns the wheel over the bar into slider moves.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The picture of the selected kind of line: row 1 not muted, row 0 muted.
    void SetMuteImage(int nRow);

    CSliderCtrl m_sliderVolume;
    CImageButton m_btnMute;
    CImageButton m_btnMenu;
    HMENU m_hMenuPopup = nullptr;
    int m_bAlwaysOnTop = 0;
    int m_bStartInTray = 0;
    HICON m_hAppIcon = nullptr;
    int m_bClosing = 0;
    int m_bFollowChanges = 1;
    // The control whose notice is the echo that the guard waits for.
    DWORD m_dwEchoControl = 0;
    // Whether this card and side have each of the catalogue's lines, as the menu was built.
    std::array<BOOL, kCatalogueMenuLines> m_bLineSelectable{};
    // The programs' entries of the menu as it last opened, in the order of their commands.
    std::vector<SProgramEntry> m_programEntries;
    std::unique_ptr<CLineCatalogue> m_pCatalogue;
    std::unique_ptr<CMixerDevice> m_pMixer;
    std::unique_ptr<CTrayIcon> m_pTrayIcon;
    CToolTipCtrl m_toolTip;
    CMappedBitmap m_bmpMenu;
    std::array<CMappedBitmap, kLineBitmapCount> m_bmpLine;

protected:
    const CMessageMapBase* GetMessageMap() const override;
    // Counts the handlers running, so that a device change never ends the bar beneath one.
    LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // Called as each part of the initialisation ends. The bar itself needs nothing here; a
    // benchmark overrides it to see where start-up goes.
    virtual void StartupStepDone(EStartupStep) {}
    // Where the notes for screen readers go: the platform's annotation service, or null where
    // the system has none. A test hands in its own.
    virtual std::unique_ptr<IAccessibleNotes> CreateAccessibleNotes();

private:
    // BarDlg.cpp
    POINT InitialPosition() const;
    void SelectStoredLine();
    // The one way a line becomes the bar's: the menu index and component type are taken, then
    // the line is selected on the bar's card and side. FALSE when the card lacks the line.
    BOOL SelectLine(int nMenuIndex, DWORD dwComponentType);
    void AddToolTips();
    // The trackbar's and the mute button's tooltips and descriptions name what the bar drives.
    void SetLineToolTips();
    // After a choice: the tooltips and descriptions, the slider, the mute picture and the tray
    // icon show what the bar drives now.
    void ShowDrivenLine();
    // The windows of this thread that the bar owns: its tooltip, a message box, the about box.
    std::vector<HWND> OwnedWindows() const;
    void TakeCaptionOff();
    // Writes every setting, and takes this copy off the running-copy count.
    void SaveSettings();
    // This copy's settings without the running-copy counter (a session's end that is called off).
    void SaveValues();
    LRESULT OnClose();
    LRESULT OnSysCommand(UINT nID, LPARAM lParam);
    LRESULT OnMove();
    LRESULT OnPaint();
    LRESULT OnNcCalcSize();
    LRESULT OnQueryDragIcon();
    LRESULT OnEndSession(BOOL bEnding, UINT);
    void OnAbout();

    // BarDlgDpi.cpp: the template's layout at the DPI it was made for, and the controls placed
    // for the pictures' scale at a DPI.
    void TakeTemplateLayout();
    void LayOut(UINT nDpi);
    LRESULT OnDpiChanged(UINT nDpi, const RECT& rcSuggested);

    // BarDlgMenu.cpp
    // Turns the window menu into the bar's popup menu: the entries of menu template 129 after
    // the platform's own (less size and maximise), the source lines of the catalogue and, with
    // more than one card, the cards. Fills m_bLineSelectable. Once, while the bar initialises.
    void BuildPopupMenu();
    // A menu choice of a line, instead of any program.
    void ChooseLine(int nMenuIndex, DWORD dwComponentType);
    // Sets every entry's state from the table of command states, as the menu opens.
    LRESULT OnInitMenuPopup(WPARAM wMenu, LPARAM);
    void OnUpdateStartInTray(CCmdUI&);
    void OnUpdateAlwaysOnTop(CCmdUI&);
    void OnAlwaysOnTop();
    // Writes or deletes the Run value that starts this program file at logon.
    void OnStartWithWindows();
    void OnMasterVolume();
    void OnChooseLine(UINT nID);
    // Puts the bar into the topmost band or takes it out.
    void SetTopmost(BOOL bTopmost);

    // BarDlgPopup.cpp
    // Opens the bar's popup menu (its window menu) at a screen point; either mouse button
    // chooses, and the choice arrives as a command. nAlignFlags: TPM_LEFTALIGN or TPM_RIGHTALIGN.
    void ShowPopupMenu(POINT ptScreen, UINT nAlignFlags);
    LRESULT OnContextMenu(HWND hWnd, POINT pt);
    void OnMenuButton();

    // BarDlgLaunch.cpp
    void OnDirection(UINT nID);
    void OnCard(UINT nID);
    void StartOrShow(const SInstanceRole& role);
    LRESULT OnDeviceChange(UINT nEvent, DWORD_PTR dwData);
    // Ends the modal loops that the bar's handlers run, for a device change that waits for them.
    void EndModalLoops();
    // This bar's part in the set's end for a device change (CRunningCopies::EndForDeviceChange).
    void EndForDeviceChange();

    // BarDlgKeys.cpp
    // The keys of the bar's card and side, registered once the bar stands; let go as it ends.
    void TakeKeys();
    void ReleaseKeys();
    void OnKeys();
    LRESULT OnHotKey(int nID, LPARAM);
    LRESULT OnTimer(UINT_PTR nIDEvent, LPARAM);
    // The bar hidden in the tray shown for a moment, topmost and without the keyboard, as a key
    // acts on it; EndKeyDisplay keeps it as it stands, HideKeyDisplay hides it again.
    void ShowForKeys();
    void EndKeyDisplay();
    void HideKeyDisplay();

    // BarDlgVolume.cpp
    // Slider position of a packed steps value, and the packed steps value of a position, with
    // the slider's range read from the control; FALSE, and nothing converted, while the line's
    // step count or the range is 0.
    BOOL VolumeToPos(DWORD dwVolume, int* pnPos) const;
    BOOL PosToVolume(int nPos, DWORD* pdwVolume) const;
    void UpdateSlider();
    // Moves the thumb by nDelta positions within the range and writes as a key on the slider does.
    void MoveSliderBy(int nDelta);
    // Enables the slider and the mute button exactly when the line has their control.
    void UpdateControlStates();
    // The mute state into the button and the tray icon, then the controls' states; after every
    // selection of a line.
    void RefreshMuteState();
    void ShowMuteState();
    LRESULT OnHScroll(UINT nCode, int nPos);
    void OnMuteButton();
    LRESULT OnControlChange(WPARAM, DWORD dwControlID);
    LRESULT OnSysColorChange();
    BOOL TakeMouseWheel(const MSG& msg);

    // BarDlgPrograms.cpp
    // The programs' group of the menu made afresh, right after the line entries; when it opens.
    void UpdateProgramEntries();
    // The programs' lines of the bar's card.
    std::vector<SProgramLine> CardPrograms() const;
    // The room for the programs' entries on the bar's monitor.
    SProgramRoom ProgramRoom() const;
    // The chosen program's line on the bar's card; FALSE, with neither control, while none of
    // its sessions is there.
    BOOL SelectProgram();
    void OnChooseProgram(UINT nID);
    LRESULT OnLineChange();

    // BarDlgBody.cpp
    LRESULT OnLButtonDown();
    LRESULT OnLButtonDblClk();
    LRESULT OnRButtonDown();

    // BarDlgTray.cpp
    void HideToTray();
    void RestoreFromTray();
    void ShowMuteInTray(BOOL bMuted);
    LRESULT OnTrayNotify(UINT, UINT nEvent);
    LRESULT OnTaskbarCreated();

    CRunningCopies& m_copies;
    CStartTurn m_startTurn;
    // The copies that the side and card commands started.
    CRoleLauncher m_launcher;
    // The bar's handlers running now, its initialisation included: more than one means that the
    // inner one runs inside a loop of an outer one.
    int m_nHandlersRunning = 0;
    // A device change that the bar takes part in once the outermost handler has returned.
    BOOL m_bDeviceChangeWaits = FALSE;
    // Where the programs' entries stand in the menu: from m_nProgramPosition, a separator, the
    // entries and the submenu of the rest, m_cProgramItems in all.
    int m_nProgramPosition = 0;
    UINT m_cProgramItems = 0;
    // The submenu of the programs that do not fit, which the menu owns; null without one.
    HMENU m_hMorePrograms = nullptr;
    // Wheel rotation not yet turned into whole notches.
    int m_nWheelDelta = 0;
    // Where the bar is when neither minimised nor maximised: the place it saves.
    POINT m_ptRestored{};
    SBarLayout m_layoutTemplate{};
    UINT m_nTemplateDpi = kDesignDpi;
    // How many screen pixels wide each picture pixel and each line of the border is.
    int m_nPictureScale = 1;
    CBarAccessibility m_accessibility;
    CBarHotKeys m_hotKeys;
    // Whether the bar is in view only for its keys, its icon still in the tray.
    int m_bShownForKeys = 0;
};
