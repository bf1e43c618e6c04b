// The song-info query: the work done on every poll.
#pragma once

#include "app/program.h"
#include "text/types.h"

namespace morvane {

// The service's web host and its song-info host.
inline constexpr char kServiceWebHost[] = "kg.qq.com";
inline constexpr char kSongInfoHost[] = "node.kg.qq.com";
// The song-info path and query, to which the (encoded) share id is appended.
inline constexpr char kSongInfoPathAndQuery[] =
    "/fcgi-bin/kg_ugc_getdetail?rnd=&g_tk=&callback=jsopgetsonginfo&shareid=";

// One poll: reads the share address from 编辑框1, requests the song's record
// and shows its name in 透明标签12 and its play count in 透明标签11. A failed
// request empties both; the next poll simply tries again.
void QuerySongInfo(Program& program);

// The share id in a share address: the value of its "s" query parameter,
// else the text after its last "="; either way cut at the first space, tab,
// CR or LF. Example: "https://kg.qq.com/node/play?s=AbC&x=1" gives "AbC".
[[nodiscard]] Text ShareIdFromAddress(const Text& address);

// The song-info request address for a share id. Bytes outside letters,
// digits and "-._~" are percent-encoded (an existing %XX escape stays), so
// nothing typed can add to the request line.
[[nodiscard]] Text SongInfoAddress(const Text& shareId);

// The UTF-8 body as GBK text; characters GBK lacks and invalid UTF-8 become
// "?" (or Windows' best-fit character). An empty body gives the empty text.
[[nodiscard]] Text Utf8ToAnsiText(const Bytes& body);

}  // namespace morvane
