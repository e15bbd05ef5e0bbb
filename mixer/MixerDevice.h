// CMixerDevice is a bar's connection to one sound card's mixer: it holds the open mixer handle
// (notifications go to the callback window), the selected line with its volume and mute
// controls, and reads and writes their values.
//
// Usage: construct with the bar window (opens card 0), Open(card), SelectLine(type, input),
// then GetVolume/SetVolume and GetMute/SetMute. Volumes travel as packed steps values (see
// mixer/VolumeScale.h). On the input side "muted" means "not selected for recording".
//
// The mixer functions it calls (mixerOpen and the rest) are answered by the library that the
// program links as its mixer: in the product and the test build, the WINMM front end
// (mixer/frontend/MixerFrontEnd.h) over the Core Audio endpoints (mixer/endpoint) or over the
// scripted cards (tests/sim); where Core Audio cannot be used, Windows' own winmm.dll
// (mixer/choice/WinmmMixer.h).
#pragma once

#include "mixer/MixerHandle.h"

#include <string>
#include <vector>

class CMixerDevice {
public:
    explicit CMixerDevice(HWND hWndCallback);
    virtual ~CMixerDevice() = default;
    CMixerDevice(const CMixerDevice&) = delete;
    CMixerDevice& operator=(const CMixerDevice&) = delete;

    // Closes the open handle, then opens device nDeviceIndex. FALSE leaves no handle at all.
    BOOL Open(UINT nDeviceIndex);

    // The display name of a device; needs no open handle. The name is empty when the device
    // cannot be asked.
    static MMRESULT GetDeviceName(UINT nDeviceIndex, std::string& strName);

    // Selects the first line of a component type (output side) or the wave-in source of that
    // type (input side). TRUE when the line exists, with or without volume and mute controls.
    BOOL SelectLine(DWORD dwComponentType, BOOL bInput);
    // Selects the line of the program with this identity on the open card (mixer/ProgramLines.h),
    // with its volume and mute. FALSE, with neither control, while the program has no line or
    // every session of it has ended.
    BOOL SelectProgramLine(DWORD dwIdentity);

    DWORD GetSteps() const { return m_ctlVolume.Metrics.cSteps; }
    // The left (first) and right (second) levels; on a surround line the loudest of each side.
    void GetVolume(DWORD* pdwSteps);
    // Sets the line to the louder half's level: its loudest channel takes the level and every
    // other channel keeps its ratio to the loudest (a silent line: every channel takes it).
    MMRESULT SetVolume(DWORD dwSteps);
    void GetMute(BOOL* pbMute);
    void SetMute(BOOL bMute);

    // The selection and the open handle. The bar reads m_nChannels, m_bHasMute, m_bHasVolume
    // and m_dwComponentType.
    UINT m_nChannels = 0;
    BOOL m_bHasMute = FALSE;
    BOOL m_bHasVolume = FALSE;
    UINT m_nSourceIndex = 0;
    CScopedMixer m_hMixer;
    HWND m_hWndCallback;
    DWORD m_dwComponentType = 0;
    MIXERLINEA m_line{};
    MIXERCONTROLA m_ctlVolume{};
    MIXERCONTROLA m_ctlMute{};
    BOOL m_bMultiSelect = FALSE;
    BOOL m_bSingleSelect = FALSE;

private:
    HMIXEROBJ MixerObject() const;
    // The selected line's volume and channel count.
    void TakeVolume();
    BOOL GetLine(MIXERLINEA& line, DWORD fdwInfo) const;
    BOOL SelectOutputLine(DWORD dwComponentType);
    BOOL SelectInputSource(DWORD dwComponentType);
    BOOL FindSource(const MIXERLINEA& lineDest, DWORD dwComponentType);
    void FindRecordingSelection(const MIXERLINEA& lineDest);
    MMRESULT FindControl(DWORD dwLineID, DWORD dwControlType, MIXERCONTROLA& ctl) const;
    MMRESULT TransferDetails(const MIXERCONTROLA& ctl, DWORD cChannels, DWORD cItems, void* paDetails,
                             BOOL bWrite) const;
    MMRESULT ReadSelectionItems(std::vector<MIXERCONTROLDETAILS_BOOLEAN>& items) const;
};
