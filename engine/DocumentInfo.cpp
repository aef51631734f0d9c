#include "DocumentInfo.h"

#include <cstdio>
#include <cstdlib>

#ifndef VANTOREL_VERSION
#define VANTOREL_VERSION "0"
#endif

namespace engine {

using pdf::Value;

namespace {

constexpr const char kProducer[] = "Vantorel PDF merger " VANTOREL_VERSION;

struct Zone {
  char sign;
  long hours, minutes;
};

Zone ZoneOf(const std::tm &local) {
  const long offset = local.tm_gmtoff / 60;
  return {offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60};
}

} // namespace

DocumentInfo MakeDocumentInfo(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  const Zone zone = ZoneOf(local);
  char pdfDate[64], xmpDate[64];
  std::snprintf(pdfDate, sizeof pdfDate, "D:%04d%02d%02d%02d%02d%02d%c%02ld'%02ld'",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, zone.sign, zone.hours, zone.minutes);
  std::snprintf(xmpDate, sizeof xmpDate, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, zone.sign, zone.hours, zone.minutes);
  DocumentInfo result;
  pdf::Dict info;
  info.Set("Producer", Value::MakeString(kProducer));
  info.Set("CreationDate", Value::MakeString(pdfDate));
  info.Set("ModDate", Value::MakeString(pdfDate));
  result.info = Value(std::move(info));

  pdf::Dict metadata;
  metadata.Set("Type", Value::MakeName("Metadata"));
  metadata.Set("Subtype", Value::MakeName("XML"));
  result.metadataDict = Value(std::move(metadata));
  const std::string date(xmpDate);
  result.strXmp = "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                  "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                  " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                  "  <rdf:Description rdf:about=\"\"\n"
                  "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"\n"
                  "    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
                  "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                  "   <pdf:Producer>" +
                  std::string(kProducer) +
                  "</pdf:Producer>\n"
                  "   <xmp:CreateDate>" +
                  date +
                  "</xmp:CreateDate>\n"
                  "   <xmp:ModifyDate>" +
                  date +
                  "</xmp:ModifyDate>\n"
                  "   <xmp:MetadataDate>" +
                  date +
                  "</xmp:MetadataDate>\n"
                  "   <dc:format>application/pdf</dc:format>\n"
                  "  </rdf:Description>\n"
                  " </rdf:RDF>\n"
                  "</x:xmpmeta>\n"
                  "<?xpacket end=\"w\"?>";
  return result;
}

} // namespace engine
