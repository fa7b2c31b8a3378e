#include "KestrixKit/Text/Vocabulary.h"

#include <atomic>

namespace kestrix {
namespace {

// Texts are made on worker threads too, so the one selection is read atomically.
std::atomic<Vocabulary> selected{Vocabulary::document};

}  // namespace

void selectVocabulary(Vocabulary vocabulary) { selected.store(vocabulary, std::memory_order_relaxed); }

Vocabulary selectedVocabulary() { return selected.load(std::memory_order_relaxed); }

}  // namespace kestrix
