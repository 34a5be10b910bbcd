#pragma once

class AcApDocument;

// Areas above the documents keep state per drawing and drop it through a hook: it runs when the
// modules have had kUnloadDwgMsg and just before the document is deleted.
using SvDocumentForgetHook = void (*)(const AcApDocument* document);
void svAddDocumentForgetHook(SvDocumentForgetHook hook);
