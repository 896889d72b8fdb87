#pragma once
// AddTaggedTextResource: fills a control with a long formatted text from a
// "TEXT" resource, one text cell per line, appended at the top level.
// Tags (lower case, no attributes): <ds>..</ds> standard style 3, <b>..</b>
// bold (standard style 2), <a>..</a> a link that opens its own text with
// the shell. "%PRODUCTNAME" becomes the product name of the program's
// version resource. A closing tag without its opening one is ignored.
#include <windows.h>

class CHybridCtrl;

void AddTaggedTextResource(CHybridCtrl* control, UINT resourceId);
// The same for a text already in memory.
void AddTaggedText(CHybridCtrl* control, LPCWSTR text);
