/*
 * Translate: gives Trovik's interface texts French wording. Trovik sets its
 * built-in English wording in "loadformtext" and "loadhelptext" (at start-up
 * and whenever options load); this extension runs after both and replaces
 * the texts by name through setvar. Texts are in the ANSI code page
 * (Windows-1252 here), so accented letters are written as byte escapes.
 */
/* Inside the SDK folder; your own extension says "trovik.h" and builds with -I path/to/sdk. */
#include "../../trovik.h"

static TrovikSetVar setvar;

struct Wording {
  const char* name;
  const char* text;
};

/* The texts "loadformtext" gives their wording. */
static const struct Wording formTexts[] = {
    {"f1runexittag", " - Lancer/Quitter"},
    {"f1droplaunchtag", " - D\xE9poser/Lancer"},
    {"f1droplaunchexittag", " - D\xE9poser/Lancer/Quitter"},
    {"f1runminimizetag",
     " - Lancer/R\xE9"
     "duire"},
    {"f1droplaunchminimizetag",
     " - D\xE9poser/Lancer/R\xE9"
     "duire"},
    {"f1opendirtag", " - Ouvrir le dossier"},
    {"f1flymrtag", " - Lancer..."},
    {"f1delabd", "SUPPRIMER"},
    {"f1delabe", "MODIFIER"},
    {"f1delabc", "COPIER"},
    {"f2captionadd", "Ajouter un lien"},
    {"f2captionedit", "Modifier le lien"},
    {"f2button1addcaption", "&Ajouter"},
    {"f1confirmdel", "Supprimer "},
    {"f1confirmcopy", "Copier "},
    {"f1drivenotrdy", "Lecteur non pr\xEAt"},
    {"f1shutdownconfirm", "Arr\xEAter Windows ?"},
    {"f1restartconfirm", "Red\xE9marrer Windows ?"},
    {"f1clearlistconfirm",
     "Voulez-vous vraiment vider toute la liste ? Les liens effac\xE9s ne pourront pas \xEAtre "
     "r\xE9"
     "cup\xE9r\xE9s."},
    {"f4versionuptodate", "Votre version de Trovik est \xE0 jour"},
    {"tbpath", "Chemin : "},
};

/* The texts "loadhelptext" gives their wording (the beginner's tips). */
static const struct Wording helpTexts[] = {
    {"f1switchwith",
     "Passez rapidement d'un ensemble de liens \xE0 l'autre avec la barre d'espace et la touche "
     "Retour arri\xE8re."},
    {"f2usekey1", "Vous pouvez lancer ce lien en appuyant sur la touche "},
    {"f2usekey2", "."},
};

static void apply(const struct Wording* w, unsigned count) {
  unsigned i;
  for (i = 0; i < count; ++i) setvar(w[i].name, w[i].text);
}

TROVIK_EXPORT void TROVIK_CALL dllinfo2(TrovikGetFunction getfunction, TrovikGetVar getvar,
                                        TrovikSetVar setvar_, TrovikGetVpVar getvpvar,
                                        TrovikSetVpVar setvpvar, TrovikObject application,
                                        const char* dllPath) {
  (void)getfunction;
  (void)getvar;
  (void)getvpvar;
  (void)setvpvar;
  (void)application;
  (void)dllPath;
  setvar = setvar_;
  /* The message-box captions are set once at start-up, before any event
     could translate them: set them as soon as the extension is loaded. */
  setvar("warningt", "Avertissement");
  setvar("confirmt", "Confirmation");
}

TROVIK_EXPORT void TROVIK_CALL loadformtext(void) {
  apply(formTexts, sizeof formTexts / sizeof formTexts[0]);
}

TROVIK_EXPORT void TROVIK_CALL loadhelptext(void) {
  apply(helpTexts, sizeof helpTexts / sizeof helpTexts[0]);
}
