// Copying source documents into the output, and turning copied pages into forms.
//
// A copied page is never put into the output's page tree; only its content is shown, through
// a form XObject drawn on a sheet. When the page has one content stream, that copied stream
// itself becomes the form: its data stay as they were encoded in the source, which spares
// decoding and re-encoding every page. Pages with several content streams get a new form
// whose content is the streams joined, Flate-encoded.

#include "OutputDocument.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>
#include <string>

using namespace PoDoFo;

namespace engine {

namespace {

PdfArray BoxArray(const PdfRect &rBox) {
  PdfArray box;
  box.push_back(PdfObject(rBox.GetLeft()));
  box.push_back(PdfObject(rBox.GetBottom()));
  box.push_back(PdfObject(rBox.GetLeft() + rBox.GetWidth()));
  box.push_back(PdfObject(rBox.GetBottom() + rBox.GetHeight()));
  return box;
}

// Copies a decoded stream into a string.
void AppendDecoded(const PdfObject *pStreamObj, std::string &out) {
  char *pBuffer = nullptr;
  pdf_long nLength = 0;
  pStreamObj->GetStream()->GetFilteredCopy(&pBuffer, &nLength);
  std::unique_ptr<char, void (*)(void *)> owner(pBuffer, podofo_free);
  out.append(pBuffer, static_cast<size_t>(nLength));
}

} // namespace

OutputDocument::OutputDocument() {
  // Free numbers come from the copied documents (their generations included); new objects
  // always take fresh numbers instead.
  Objects().SetCanReuseObjectNumbers(false);
}

// PdfObject keeps its number in a protected member; a member pointer taken through a derived
// class reaches it on any PdfObject.
struct ObjectNumbering : PdfObject {
  static constexpr PdfReference PdfObject::*kReference = &ObjectNumbering::m_reference;
};

void OutputDocument::SetObjectNumber(PdfObject *pObj, const PdfReference &ref) {
  pObj->*ObjectNumbering::kReference = ref;
}

// Objects read by the parser keep its input file open; once they are read completely they need
// it no more. Without letting go, a merge of many files runs out of file handles.
struct ParserAccess : PdfTokenizer {
  static constexpr PdfRefCountedInputDevice PdfTokenizer::*kDevice = &ParserAccess::m_device;
  static constexpr PdfRefCountedBuffer PdfTokenizer::*kBuffer = &ParserAccess::m_buffer;
};

int OutputDocument::AppendObjects(PdfMemDocument &rSource) {
  PdfVecObjects &objects = Objects();
  int nOffset = static_cast<int>(objects.GetSize() + objects.GetFreeObjects().size());
  // Sources numbered with gaps would otherwise collide with objects taken before.
  int nHighest = 0;
  for (const PdfObject *pObj : objects)
    nHighest = std::max(nHighest, static_cast<int>(pObj->Reference().ObjectNumber()));
  if (nOffset <= nHighest)
    nOffset = nHighest + 1;

  // The source's objects are read completely first: once they belong to this document the
  // source's parser is gone. Then they change hands instead of being copied, which halves
  // the memory of a merge and spares a deep copy of every object.
  PdfVecObjects &sourceObjects = rSource.GetObjects();
  std::vector<PdfObject *> moved(sourceObjects.begin(), sourceObjects.end());
  for (PdfObject *pObj : moved) {
    pObj->DelayedStreamLoad();
    if (auto *pParsed = dynamic_cast<PdfParserObject *>(pObj)) {
      static_cast<PdfTokenizer &>(*pParsed).*ParserAccess::kDevice = PdfRefCountedInputDevice();
      static_cast<PdfTokenizer &>(*pParsed).*ParserAccess::kBuffer = PdfRefCountedBuffer();
    }
  }
  while (sourceObjects.GetSize() > 0)
    sourceObjects.RemoveObject(sourceObjects.end() - 1);

  std::vector<PdfObject *> pending;
  for (PdfObject *pObj : moved) {
    const PdfReference old = pObj->Reference();
    SetObjectNumber(pObj, PdfReference(static_cast<pdf_objnum>(old.ObjectNumber() + nOffset),
                                       old.GenerationNumber()));
    // Every reference inside the object moves by the same offset.
    pending.push_back(pObj);
    while (!pending.empty()) {
      PdfObject *pValue = pending.back();
      pending.pop_back();
      if (pValue->IsReference()) {
        const PdfReference &ref = pValue->GetReference();
        // Only the value changes: a top-level object keeps its own number.
        static_cast<PdfVariant &>(*pValue) = PdfVariant(PdfReference(
            static_cast<pdf_objnum>(ref.ObjectNumber() + nOffset), ref.GenerationNumber()));
      } else if (pValue->IsDictionary()) {
        for (auto &entry : pValue->GetDictionary().GetKeys())
          pending.push_back(entry.second);
      } else if (pValue->IsArray()) {
        for (PdfObject &item : pValue->GetArray())
          pending.push_back(&item);
      }
    }
    objects.push_back(pObj);
  }
  return nOffset;
}

PdfObject *OutputDocument::AppendSheet(const PdfRect &rBox) {
  PdfObject *pPage = Objects().CreateObject("Page");
  PdfDictionary &page = pPage->GetDictionary();
  page.AddKey("Parent", GetPagesTree()->GetObject()->Reference());
  page.AddKey("MediaBox", BoxArray(rBox));
  page.AddKey("Resources", PdfDictionary());
  m_arrSheets.push_back(pPage->Reference());
  return pPage;
}

void OutputDocument::FinishPages() {
  PdfDictionary &root = GetPagesTree()->GetObject()->GetDictionary();
  root.AddKey("Count", PdfVariant(static_cast<pdf_int64>(m_arrSheets.size())));
  root.AddKey("Kids", m_arrSheets);
}

PdfRect OutputDocument::PageBox(const PdfObject *pPage) const {
  auto readBox = [this, pPage](const char *pszKey, PdfRect &box) {
    const PdfObject *pArray = Resolve(FindInherited(pPage, pszKey));
    if (pArray == nullptr || !pArray->IsArray() || pArray->GetArray().size() != 4)
      return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
      const PdfObject *pNumber = Resolve(&pArray->GetArray()[i]);
      if (pNumber == nullptr || !(pNumber->IsNumber() || pNumber->IsReal()))
        return false;
      v[i] = pNumber->GetReal();
    }
    box = PdfRect(std::min(v[0], v[2]), std::min(v[1], v[3]), std::abs(v[2] - v[0]),
                  std::abs(v[3] - v[1]));
    return true;
  };
  PdfRect box;
  if (!readBox("CropBox", box) || box.GetWidth() == 0)
    readBox("MediaBox", box);
  return box;
}

int OutputDocument::PageRotation(const PdfObject *pPage) const {
  const PdfObject *pRotate = Resolve(FindInherited(pPage, "Rotate"));
  if (pRotate == nullptr || !(pRotate->IsNumber() || pRotate->IsReal()))
    return 0;
  int nRotate = static_cast<int>(pRotate->GetReal()) % 360;
  return nRotate < 0 ? nRotate + 360 : nRotate;
}

const PdfObject *OutputDocument::Resolve(const PdfObject *pObj) const {
  // Reference chains are followed a bounded number of times: a loop ends as "absent".
  for (int i = 0; pObj != nullptr && pObj->IsReference() && i < 32; ++i)
    pObj = Objects().GetObject(pObj->GetReference());
  return (pObj != nullptr && pObj->IsReference()) ? nullptr : pObj;
}

const PdfObject *OutputDocument::FindInherited(const PdfObject *pPage, const char *pszKey) const {
  const PdfObject *pNode = pPage;
  for (int depth = 0; pNode != nullptr && pNode->IsDictionary() && depth < 64; ++depth) {
    const PdfObject *pValue = pNode->GetDictionary().GetKey(pszKey);
    if (pValue != nullptr)
      return pValue;
    pNode = Resolve(pNode->GetDictionary().GetKey("Parent"));
  }
  return nullptr;
}

void OutputDocument::AddFormKeys(PdfObject *pForm, const PdfRect &rBox,
                                 const PdfObject *pResources) {
  PdfDictionary &dict = pForm->GetDictionary();
  dict.AddKey(PdfName::KeyType, PdfName("XObject"));
  dict.AddKey(PdfName::KeySubtype, PdfName("Form"));
  dict.AddKey("BBox", BoxArray(rBox));
  if (pResources != nullptr)
    dict.AddKey("Resources", *pResources);
  else
    dict.AddKey("Resources", PdfDictionary());
}

PdfObject *OutputDocument::NewForm(const PdfRect &rBox, const PdfObject *pResources) {
  PdfObject *pForm = Objects().CreateObject();
  AddFormKeys(pForm, rBox, pResources);
  return pForm;
}

PdfReference OutputDocument::MakePageForm(const PdfReference &rCopiedPage, const PdfRect &rBox) {
  auto found = m_mapPageForms.find(rCopiedPage);
  if (found != m_mapPageForms.end())
    return found->second;

  const PdfObject *pPage = Objects().GetObject(rCopiedPage);
  if (pPage == nullptr || !pPage->IsDictionary())
    PODOFO_RAISE_ERROR_INFO(ePdfError_NoObject, "copied page is missing");

  const PdfObject *pResources = FindInherited(pPage, "Resources");
  const PdfObject *pContentsKey = pPage->GetDictionary().GetKey("Contents");
  const PdfObject *pContents = Resolve(pContentsKey);

  PdfObject *pForm = nullptr;
  if (pContents != nullptr && pContents->HasStream()) {
    const PdfReference streamRef = pContentsKey->GetReference();
    PdfObject *pStream = Objects().GetObject(streamRef);
    if (m_setAdoptedStreams.insert(streamRef).second) {
      AddFormKeys(pStream, rBox, pResources);
      pForm = pStream;
    } else {
      // Shared with a page placed before: copy the encoded data with its filters.
      pForm = NewForm(rBox, pResources);
      for (const char *pszKey : {"Filter", "DecodeParms"}) {
        const PdfObject *pValue = pStream->GetDictionary().GetKey(pszKey);
        if (pValue != nullptr)
          pForm->GetDictionary().AddKey(pszKey, *pValue);
      }
      char *pBuffer = nullptr;
      pdf_long nLength = 0;
      pStream->GetStream()->GetCopy(&pBuffer, &nLength);
      std::unique_ptr<char, void (*)(void *)> owner(pBuffer, podofo_free);
      PdfMemoryInputStream input(pBuffer, nLength);
      pForm->GetStream()->SetRawData(&input, nLength);
    }
  } else {
    pForm = NewForm(rBox, pResources);
    std::string content;
    if (pContents != nullptr && pContents->IsArray()) {
      for (const PdfObject &item : pContents->GetArray()) {
        const PdfObject *pPart = Resolve(&item);
        if (pPart != nullptr && pPart->HasStream()) {
          AppendDecoded(pPart, content);
          content += '\n'; // parts may split anywhere but between tokens
        }
      }
    }
    pForm->GetStream()->Set(content.data(), static_cast<pdf_long>(content.size()));
  }
  m_mapPageForms.emplace(rCopiedPage, pForm->Reference());
  return pForm->Reference();
}

} // namespace engine
