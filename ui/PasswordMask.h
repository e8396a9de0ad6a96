// The one character that stands for each character of a hidden password,
// wherever the program hides one. An ES_PASSWORD field's own default is the
// system's (a bullet under common controls 6), so every hidden field is
// given this one explicitly (EM_SETPASSWORDCHAR).
#pragma once

constexpr wchar_t kPasswordMask = L'*';
