// Every text the terminal edition shows, in Czech, UTF-8. The game's own texts are the
// Windows program's, letter for letter; only the file replaces the registry in two of them.
#pragma once

constexpr char TEXT_GAME_TITLE[] = "Hra";
constexpr char TEXT_NEXT_TITLE[] = "Další";
constexpr char TEXT_SCORE_TITLE[] = "Score";
constexpr char TEXT_PAUSED[] = "Pauza";
constexpr char TEXT_GAME_OVER[] = "Konec hry";
constexpr char TEXT_KEY_HELP_1[] =
    "F2/n nová hra  ← → posun  ↑ otočit  ↓ dolů  p pauza  a protivník  i proč dílek";
constexpr char TEXT_KEY_HELP_2[] =
    "v nejlepší výsledek  w/W záznam hry/rekordu  o o programu  k/q/F10 konec";
constexpr char TEXT_ABOUT_CAPTION[] = "Zubrant";
constexpr char TEXT_ABOUT[] = "Pokusný Kostrel s zlou umělou inteligencí\nNapsal Varnek";

constexpr char TEXT_RECORD_CAPTION[] = "Rekord";
// After the record's caption, with the name of the adversary whose record it is (%s).
constexpr char TEXT_RECORD_ADVERSARY[] = " – protivník %s";
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

// The adversaries: the name beside the score, the list of the `a` key, and what is said
// about a choice. Formatted with an adversary's name (%s).
constexpr char TEXT_ADVERSARY_TITLE[] = "Protivník";
constexpr char TEXT_CHOOSE_TEXT[] = "Kdo bude vybírat dílky od příští nové hry:";
constexpr char TEXT_CHOOSE_HINT[] = "↑ ↓ výběr   Enter: zvolit   Esc: zrušit";
constexpr char TEXT_CHOSEN_MARK[] = "●";
constexpr char TEXT_CHOSEN_FOR_NEXT_GAME[] = "Protivník %s bude vybírat dílky od příští nové hry.";
constexpr char TEXT_CHOICE_NOT_SAVED[] =
    "Volbu protivníka %s se mi nepodařilo zapsat do souboru; platí jen do konce programu.";
constexpr char TEXT_REMEMBERED_UNKNOWN[] =
    "Zapamatovaného protivníka tato verze nezná nebo jeho soubor nejde přečíst; dílky "
    "vybírá %s.";

// The panel of the `i` key: why the piece in the preview.
constexpr char TEXT_WHY_TITLE[] = "Proč tento dílek";
constexpr char TEXT_WHY_SCORED[] =
    "Pro každý druh: jak špatnou desku vám nechá vaše nejlepší odpověď (víc je hůř).";
constexpr char TEXT_WHY_HEADER[] = "druh  špatnost";
// For an adversary with a loop guard: the column after the header, and what it counts.
constexpr char TEXT_WHY_SEEN_HEADER[] = "  viděno";
constexpr char TEXT_WHY_SEEN_NOTE[] =
    "Viděno: kolikrát už ve hře byla deska, ke které ta odpověď vede.";
constexpr char TEXT_KIND_LETTERS[] = "LJOZSTI";     // the kinds' shapes, 0 to 6
constexpr char TEXT_WHY_NO_ANSWER[] = "konec hry";  // no place for it: the game ends
constexpr char TEXT_WHY_CHOSEN[] = "◄ vybrán";
constexpr char TEXT_WHY_NONE[] = "Dílek v náhledu zatím nevybral žádný protivník.";
// Formatted with the adversary's name (%s).
constexpr char TEXT_WHY_BLIND[] = "Protivník %s vybírá dílky, aniž se dívá na desku.";

// Watching a replay.
constexpr char TEXT_WATCH_GAME_TITLE[] = "Záznam hry";
constexpr char TEXT_WATCH_TITLE[] = "Sledování záznamu";
// Formatted with the speed (%s), e.g. "2×" or "1/8×".
constexpr char TEXT_WATCH_SPEED[] = "Rychlost: %s";
constexpr char TEXT_WATCH_RUNNING[] = "Záznam běží.";
constexpr char TEXT_WATCH_PAUSED[] = "Záznam stojí.";
// Formatted with the replayed game's score (%s).
constexpr char TEXT_WATCH_OVER[] = "Záznam skončil se skóre %s.";
constexpr char TEXT_WATCH_OVER_MARK[] = "Konec záznamu";
constexpr char TEXT_WATCH_KEY_HELP_1[] =
    "Záznam: mezerník pauza  + rychleji  - pomaleji  End na konec  i proč dílek";
constexpr char TEXT_WATCH_KEY_HELP_2[] = "q/Esc konec sledování  k/F10 konec";
constexpr char TEXT_REPLAY_ONLY_KEY_HELP_2[] = "q/Esc/k/F10 konec";
constexpr char TEXT_REPLAY_CAPTION[] = "Záznam hry";
constexpr char TEXT_NO_LAST_GAME[] = "Zatím není zaznamenaná žádná dohraná hra.";
constexpr char TEXT_NO_BEST_GAME[] = "Tento protivník zatím nemá rekord se záznamem hry.";
constexpr char TEXT_BEST_GAME_UNVERIFIED[] =
    "Záznam hry u rekordu se nepřehraje na uložené skóre, a proto se neukáže.";
constexpr char TEXT_REPLAY_UNREADABLE[] = "Soubor se záznamem hry nejde přečíst.";
// Formatted with the reason (%s), which the library gives.
constexpr char TEXT_REPLAY_BAD[] = "Záznam hry nejde přehrát: %s";
constexpr char TEXT_LAST_GAME_NOT_SAVED[] = "Záznam hry se mi nepodařilo zapsat do souboru.";

// On stderr, before or instead of the game; the unknown terminal with the value of TERM.
constexpr char TEXT_NOT_A_TERMINAL[] =
    "kostrel-tui: standardní vstup a výstup musí být terminál.\n";
constexpr char TEXT_UNKNOWN_TERMINAL[] =
    "kostrel-tui: neznámý typ terminálu „%s“ (proměnná TERM).\n";
// Formatted with the file as given (%s), and for a bad code with the reason (%s).
constexpr char TEXT_REPLAY_FILE_MISSING[] = "kostrel-tui: soubor „%s“ neexistuje.\n";
constexpr char TEXT_REPLAY_FILE_UNREADABLE[] = "kostrel-tui: soubor „%s“ nejde přečíst.\n";
constexpr char TEXT_REPLAY_FILE_TOO_LARGE[] =
    "kostrel-tui: soubor „%s“ je na záznam hry příliš velký.\n";
constexpr char TEXT_REPLAY_FILE_BAD[] = "kostrel-tui: soubor „%s“ nemá platný záznam hry: %s\n";
constexpr char TEXT_NO_UTF8[] =
    "kostrel-tui: potřebuji znakovou sadu UTF-8; nastavení jazyka ji nemá a C.UTF-8 chybí.\n";

// The command line's answers, on stdout (the usage also on stderr after an error).
constexpr char TEXT_USAGE_HEAD[] =
    "Použití: kostrel-tui [VOLBA]...\n"
    "Kostrel v terminálu: hra s padajícími dílky, jejichž další dílek vybírá protivník.\n\n";
constexpr char TEXT_USAGE_TAIL[] =
    "\nKlávesy, soubory a proměnné prostředí popisuje man kostrel-tui.\n";
constexpr char TEXT_OPTION_ADVERSARY[] =
    "hraje proti protivníkovi ID (klasicky, zly, sz, nahodny);\n"
    "má přednost před zapamatovaným a platí jen pro toto spuštění";
constexpr char TEXT_OPTION_REPLAY_VALUE[] = "SOUBOR";
constexpr char TEXT_OPTION_REPLAY[] =
    "přehraje záznam hry ze SOUBORU místo hraní;\n"
    "na konci zůstane poslední deska až do q";
constexpr char TEXT_OPTION_HELP[] = "vypíše tuto nápovědu a skončí";
constexpr char TEXT_OPTION_VERSION[] = "vypíše verzi programu a skončí";
constexpr char TEXT_COPYRIGHT[] = "Copyright (c) the Kostrel developers, licence MIT.\n";
// Formatted with the option or argument as given (%s).
constexpr char TEXT_UNKNOWN_OPTION[] = "neznámá volba „%s“";
constexpr char TEXT_OPTION_WITHOUT_VALUE[] = "volba „%s“ nebere hodnotu";
constexpr char TEXT_OPTION_NEEDS_VALUE[] = "volba „%s“ potřebuje hodnotu";
// Formatted with the id given and the valid ones (%s, %s).
constexpr char TEXT_UNKNOWN_ADVERSARY[] = "neznámý protivník „%s“; platné hodnoty: %s";
