// What the programs, the inspector and the content builder agree on about the show's data: the
// archive's name, the folder it unpacks into, the music's place in that folder, and when the
// end screen fades in. Each is written here once.
#pragma once

// The content archive, in the working folder unless a tool is given another path.
inline constexpr char kArchiveName[] = "demodat";
// The one folder at the top of the archive; it unpacks into the temporary folder.
inline constexpr char kDataFolderName[] = "korvane_data_orbendale";
// The music, below the data folder.
inline constexpr char kMusicFile[] = "music/velmora.mp3";
// The end screen fades in over these seconds of the music and stays. The music fades out from
// the same start, and must last at least until the end screen is whole.
inline constexpr float kEndFadeStart = 356.0f;
inline constexpr float kEndFadeEnd = 358.0f;
