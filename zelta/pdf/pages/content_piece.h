// The host's IHostContent: drawing operators made by a content writer and the font
// resources they name ("/ZF<object number>").
#pragma once

#include <map>
#include <string>

#include "host/page_content.h"
#include "zelta/pdf/mu_object.h"

namespace zelta::pdf {

class HostDocument;

class ContentPiece final : public ComObject<IHostContent> {
 public:
  ContentPiece(const HostDocument* document, std::string bytes, std::map<int, MuObject> fonts)
      : document_(document), bytes_(std::move(bytes)), fonts_(std::move(fonts)) {}

  HRESULT GetSize(int32_t* bytes) override;

  // The document whose writer made the piece (compared, never used).
  const HostDocument* Document() const { return document_; }
  const std::string& Bytes() const { return bytes_; }
  // Font resources by object number.
  const std::map<int, MuObject>& Fonts() const { return fonts_; }

  // The resource name a font object has in content.
  static std::string FontResourceName(int objectNumber) {
    return "ZF" + std::to_string(objectNumber);
  }

 private:
  ~ContentPiece() override = default;

  const HostDocument* document_;
  std::string bytes_;
  std::map<int, MuObject> fonts_;
};

}  // namespace zelta::pdf
