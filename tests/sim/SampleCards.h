// A card as a typical driver reports it, for tests that start the bar against simulated cards:
// a stereo speakers destination with volume and mute and a wave source, and a recording
// destination with a MIXER selection control and a mono microphone source.
#pragma once

inline constexpr char kSampleCard[] = "card Sim Audio\n"
                                      "dest 0x0 4 2 Speakers\n"
                                      "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                      "control 2 mute 1 1 0\n"
                                      "source 0x10000 0x1008 2 Wave\n"
                                      "control 5 volume 0xFFFF 32 0 0x4000 0x4000\n"
                                      "dest 0x1 7 2 Recording Control\n"
                                      "control 3 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                      "control 4 mixer 1 2 1 1\n"
                                      "source 0x10001 0x1003 1 Microphone\n"
                                      "control 6 volume 0xFFFF 32 0 0x4000\n";

// A second card with nothing but a speakers master.
inline constexpr char kSpeakersOnlyCard[] = "card Second Card\n"
                                            "dest 0x0 4 2 Speakers\n"
                                            "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n";

// The sample card with a mute on every kind of line the bar can select: the speakers master
// (mute 2), the wave source (mute 7), the recording master (mute 8); the microphone is recorded
// through the one item of MIXER control 4.
inline constexpr char kMutesEverywhereCard[] = "card Sim Audio\n"
                                               "dest 0x0 4 2 Speakers\n"
                                               "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                               "control 2 mute 1 1 0\n"
                                               "source 0x10000 0x1008 2 Wave\n"
                                               "control 5 volume 0xFFFF 32 0 0x4000 0x4000\n"
                                               "control 7 mute 1 1 0\n"
                                               "dest 0x1 7 2 Recording Control\n"
                                               "control 3 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                               "control 8 mute 1 1 0\n"
                                               "control 4 mixer 1 1 1 1\n"
                                               "source 0x10001 0x1003 1 Microphone\n"
                                               "control 6 volume 0xFFFF 32 0 0x4000\n";

// The sample card's speakers and wave source with three programs playing on them, each with its
// own volume (100 steps, as the endpoint model gives them) and mute: "Firefox" (controls 11 and
// 12), "Spotify" (13 and 14) and "System Sounds" (15 and 16).
inline constexpr char kApplicationsCard[] = "card Sim Audio\n"
                                            "dest 0x0 4 2 Speakers\n"
                                            "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                            "control 2 mute 1 1 0\n"
                                            "source 0x10000 0x1008 2 Wave\n"
                                            "control 5 volume 0xFFFF 32 0 0x4000 0x4000\n"
                                            "app 0x10001 0x1F1 Firefox\n"
                                            "control 11 volume 0xFFFF 100 0 0x8000\n"
                                            "control 12 mute 1 1 0\n"
                                            "app 0x10002 0x2F2 Spotify\n"
                                            "control 13 volume 0xFFFF 100 0 0xC000\n"
                                            "control 14 mute 1 1 0\n"
                                            "app 0x10003 0x3F3 System Sounds\n"
                                            "control 15 volume 0xFFFF 100 0 0xFFFF\n"
                                            "control 16 mute 1 1 0\n";
