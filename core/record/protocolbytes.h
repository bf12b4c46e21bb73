#pragma once

// The bytes of the module's protocol. Every request starts with "~"; "}"
// asks the module to take a download, the upload command to send its
// content; the module answers a download request with "R"; every piece of a
// record, and every field of an answer, ends with CR.
inline constexpr unsigned char RequestByte = '~';
inline constexpr unsigned char DownloadRequest = '}';
inline constexpr unsigned char DownloadReady = 'R';
inline constexpr unsigned char PieceEnd = '\r';
