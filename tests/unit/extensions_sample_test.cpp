// The SDK's translation sample, compiled here from its own source and loaded
// through the fake loader: what an author copies works as the guide says.
#include "extensions_dll.h"

// The sample is C and defines its exports at global scope.
#include "../../sdk/samples/translate/translate.c"

namespace trovik::test {
namespace {

TEST(SdkSample, TheTranslationRewordsTheTextsEachTimeTheyAreLoaded) {
  ExtensionHarness h;
  const std::string dll = std::string(kBase) + "translate.dll";
  h.fs().put(dll, "MZ");
  h.os.libraries.add(dll, {{"dllinfo2", exportOf(&::dllinfo2)},
                           {"loadformtext", exportOf(&::loadformtext)},
                           {"loadhelptext", exportOf(&::loadhelptext)}});
  h.installed({dll + "|Traduction|false|false|1.0|loadformtext|after|loadhelptext|after", ""});

  h.form().loadformtext();
  EXPECT_EQ(h.app.texts.f1runexittag, " - Lancer/Quitter");
  EXPECT_EQ(h.app.texts.f1delabd, "SUPPRIMER");
  // It writes in the ANSI code page, which reaches the program as UTF-8.
  EXPECT_EQ(h.app.texts.f1runminimizetag,
            " - Lancer/R\xC3\xA9"
            "duire");
  EXPECT_EQ(h.app.texts.warningt, "Avertissement");
  EXPECT_EQ(h.app.texts.f2usekey2, ".");
  // Texts it does not translate keep their wording.
  EXPECT_EQ(h.app.texts.f1nofileset, "File set not found in specified location: ");

  // Loaded again (as options reload does), still French.
  h.form().loadhelptext();
  EXPECT_EQ(h.app.texts.f2usekey1, "Vous pouvez lancer ce lien en appuyant sur la touche ");
  h.app.vars.disvp = true;
  h.form().loadformtext();
  EXPECT_EQ(h.app.texts.f1delabd, "DELETE");
}

}  // namespace
}  // namespace trovik::test
