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
