#pragma once

namespace kestrix {

// Whose words the user-visible texts use. The simulated worlds and the demo stand for the
// system the base texts were written for and keep them exactly; a real Linux system gets the
// same sentences with its own names for things.
enum class Vocabulary { document, linuxSystem };

// Chosen once, at start-up, by the choice of system; the base texts until then.
void selectVocabulary(Vocabulary vocabulary);
Vocabulary selectedVocabulary();

}  // namespace kestrix
