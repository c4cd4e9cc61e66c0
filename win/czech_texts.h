// Every text the program shows, in UTF-16 so that the Czech letters come out right
// whatever the system's ANSI code page is.
#pragma once

inline constexpr const wchar_t* TEXT_MAIN_TITLE = L"Kostrel";
inline constexpr const wchar_t* TEXT_GAME_GROUP = L"Hra";
inline constexpr const wchar_t* TEXT_NEXT_GROUP = L"Další";
inline constexpr const wchar_t* TEXT_SCORE_GROUP = L"Score";
inline constexpr const wchar_t* TEXT_SCORE_START = L"0";

inline constexpr const wchar_t* TEXT_ABOUT_CAPTION = L"Zubrant";
inline constexpr const wchar_t* TEXT_ABOUT =
    L"Pokusný Kostrel s zlou umělou inteligencí\nNapsal Varnek";

// Formatted with the score (%d).
inline constexpr const wchar_t* TEXT_NEW_RECORD_PROMPT =
    L"Vaše skore %d je nový rekord, zadejte prosím své jméno";

inline constexpr const wchar_t* TEXT_RECORD_CAPTION = L"Rekord";
// Formatted with the record (%d) and the champion's name (%ls).
inline constexpr const wchar_t* TEXT_BEST_RESULT = L"Nelepšího skore %d dosáhl %ls.";
inline constexpr const wchar_t* TEXT_BEST_RESULT_UNREADABLE =
    L"Nepodařilo se mi přečíst rekord z registru, zřejmě ještě žádný nebyl zapsán";
inline constexpr const wchar_t* TEXT_RECORD_NOT_SAVED =
    L"Nepodařilo se mi zapsat rekord do registru.";
inline constexpr const wchar_t* TEXT_RECORD_BEATEN_MEANWHILE =
    L"Mezitím byl uložen stejný nebo vyšší rekord, váš výsledek se proto neuložil.";
