#pragma once
// Pieces of a web request: an identification query, an escaped address, a
// Base64 block and a Host header. The program itself sends no request.
#include "platform/mfc/afx.h"

// Rebuilds the text: ASCII letters and digits and the characters "\/:.-_"
// stay; every other character becomes '%' and two lower-case hexadecimal
// digits per byte of its UTF-8 form.
void EscapeUrl(CString& text);

// The Windows user name, or the host name (read with the socket library
// started), every character other than an ASCII letter or digit replaced by
// '_'; "Unknown" when the name can't be read.
CString GetCleanUserName();
CString GetCleanHostName();

// "hello=<user>+<host>+Fetchling+1.0.0.0&proto=3".
CString BuildHelloQuery();

// Room for EncodeBase64's output of n source bytes, terminator included.
int GetBase64Length(int n);
// Standard Base64 with '=' fill; CR LF after every 76 output characters and
// after the last group; zero-terminated. False, writing nothing, when the
// target (targetSize bytes) is too small or an argument is null or negative.
// outLength receives the length without the terminator.
[[nodiscard]] bool EncodeBase64(const BYTE* source, int length, char* target, int targetSize, int* outLength);

// Empty when omit is set, else "Host: <host>".
CString BuildHostHeader(LPCWSTR host, bool omit);
