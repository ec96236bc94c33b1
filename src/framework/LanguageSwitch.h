#pragma once

// Install the translators of one interface language (application texts, window framework texts
// and, for Chinese, the toolkit's own dialogs) and the matching application font. Called once
// at start-up, before any window exists.
void setLanguageEnglish();
void setLanguageSimplifiedChinese();
void setLanguageTraditionalChinese();
