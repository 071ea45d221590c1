#include "cover/now_playing_text.h"
#include <string>
#include "cover/embedded_picture.h"
#include "cover/file_picture.h"
#include "cover/track_file.h"
#include "state/display_state.h"

namespace {

std::wstring WideOfUtf8(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

// The last part of the path ("C:\music\a.mp3", "C:\box.zip/b.flac"), without
// its extension.
std::wstring FileTitle(const wchar_t* path)
{
    std::wstring name = path;
    const size_t separator = name.find_last_of(L"\\/");
    if (separator != std::wstring::npos)
        name.erase(0, separator + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    // Cut as a tag's text is, never inside a surrogate pair.
    size_t characters = 0, at = 0;
    for (; at < name.size() && characters < LONGEST_TEXT_CHARACTERS; ++at, ++characters)
        at += IS_HIGH_SURROGATE(name[at]) && at + 1 < name.size() ? 1 : 0;
    name.erase(at);
    return name;
}

}  // namespace

void ReadNowPlayingText(const wchar_t* path, bool localFile, size_t readBound)
{
    TagText text;
    TagServer server;
    if (displayState.channel != 0 && ChannelTagServer(displayState.channel, readBound, &server))
        SelectEmbeddedText(server, &text);
    TrackFile file;
    if (!text.Complete() && localFile && file.Open(path))
        ReadTextFromFile(file, &text);
    NowPlaying& shown = displayState.nowPlaying;
    shown = {WideOfUtf8(text.field[TITLE]), WideOfUtf8(text.field[ARTIST]), WideOfUtf8(text.field[ALBUM])};
    if (shown.title.empty())
        shown.title = FileTitle(path);
}
