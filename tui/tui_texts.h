// Every text the terminal edition shows, in Czech, UTF-8. The game's own texts are the
// Windows program's, letter for letter; only the file replaces the registry in two of them.
#pragma once

constexpr char TEXT_GAME_TITLE[] = "Hra";
constexpr char TEXT_NEXT_TITLE[] = "Další";
constexpr char TEXT_SCORE_TITLE[] = "Score";
constexpr char TEXT_PAUSED[] = "Pauza";
constexpr char TEXT_GAME_OVER[] = "Konec hry";
constexpr char TEXT_KEY_HELP_1[] = "F2/n nová hra   ← → posun   ↑ otočit   ↓ dolů   p pauza";
constexpr char TEXT_KEY_HELP_2[] = "v nejlepší výsledek   o o programu   k/q/F10 konec";
constexpr char TEXT_ABOUT_CAPTION[] = "Zubrant";
constexpr char TEXT_ABOUT[] = "Pokusný Kostrel s zlou umělou inteligencí\nNapsal Varnek";

constexpr char TEXT_RECORD_CAPTION[] = "Rekord";
constexpr char TEXT_NEW_RECORD_CAPTION[] = "Nejlepší score";
// Formatted with the score (%d).
constexpr char TEXT_NEW_RECORD_PROMPT[] = "Vaše skore %d je nový rekord, zadejte prosím své jméno";
// Formatted with the record (%d) and the champion's name (%s).
constexpr char TEXT_BEST_RESULT[] = "Nelepšího skore %d dosáhl %s.";
constexpr char TEXT_BEST_RESULT_UNREADABLE[] =
    "Nepodařilo se mi přečíst rekord ze souboru, zřejmě ještě žádný nebyl zapsán";
constexpr char TEXT_RECORD_NOT_SAVED[] = "Nepodařilo se mi zapsat rekord do souboru.";
constexpr char TEXT_CLOSE_HINT[] = "Enter nebo Esc: zavřít";
constexpr char TEXT_PROMPT_HINT[] = "Enter: uložit   Esc: zrušit";
// Formatted with the columns and rows needed (%d × %d).
constexpr char TEXT_TOO_SMALL[] = "Malé okno: hra potřebuje terminál alespoň %d × %d znaků.";

// On stderr, before or instead of the game; the unknown terminal with the value of TERM.
constexpr char TEXT_NOT_A_TERMINAL[] =
    "kostrel-tui: standardní vstup a výstup musí být terminál.\n";
constexpr char TEXT_UNKNOWN_TERMINAL[] =
    "kostrel-tui: neznámý typ terminálu „%s“ (proměnná TERM).\n";
constexpr char TEXT_NO_UTF8[] =
    "kostrel-tui: potřebuji znakovou sadu UTF-8; nastavení jazyka ji nemá a C.UTF-8 chybí.\n";

// The command line's answers, on stdout (the usage also on stderr after an error).
constexpr char TEXT_USAGE_HEAD[] =
    "Použití: kostrel-tui [VOLBA]...\n"
    "Kostrel v terminálu: hra s padajícími dílky, jejichž další dílek vybírá protivník.\n\n";
constexpr char TEXT_USAGE_TAIL[] =
    "\nKlávesy, soubory a proměnné prostředí popisuje man kostrel-tui.\n";
constexpr char TEXT_OPTION_HELP[] = "vypíše tuto nápovědu a skončí";
constexpr char TEXT_OPTION_VERSION[] = "vypíše verzi programu a skončí";
constexpr char TEXT_COPYRIGHT[] = "Copyright (c) the Kostrel developers, licence MIT.\n";
// Formatted with the option or argument as given (%s).
constexpr char TEXT_UNKNOWN_OPTION[] = "neznámá volba „%s“";
constexpr char TEXT_OPTION_WITHOUT_VALUE[] = "volba „%s“ nebere hodnotu";
constexpr char TEXT_OPTION_NEEDS_VALUE[] = "volba „%s“ potřebuje hodnotu";
