#pragma once
// Passwords travel as UTF-8 and are encoded only for the revision in hand: PDFDocEncoding up to
// revision 4 (RC4 and AES-128), UTF-8 prepared by SASLprep's mapping from revision 5 on.

#include <string>
#include <string_view>
#include <vector>

namespace engine::pdf {

// The bytes an output's password is written with; false when the revision cannot carry one of
// its characters (PDFDocEncoding has no CJK, for instance) or the text is not UTF-8.
bool EncodeOutputPassword(std::string_view utf8, int nRevision, std::string &bytes);

// The likely byte forms of a password given for a source, likeliest first, without
// duplicates: the encoding of its revision, then UTF-8, PDFDocEncoding, Windows-1252 and the
// bytes as given (other writers used each of them).
std::vector<std::string> SourcePasswordForms(std::string_view given, int nRevision);

// UTF-8 text as PDFDocEncoding; false when a character has no byte there.
bool Utf8ToPdfDoc(std::string_view utf8, std::string &out);
// The mapping step of SASLprep: non-ASCII spaces become spaces, characters commonly mapped to
// nothing are dropped. Normalisation is left out: composed text, as keyboards give it, passes.
std::string SaslPrepMap(std::string_view utf8);

} // namespace engine::pdf
