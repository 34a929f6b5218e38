#include "update/SignatureVerifier.h"

#include <cstring>
#include <vector>

#include <openssl/err.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include "credentials/OpenSslHandles.h"
#include "update/Der.h"

namespace {

// SPC_INDIRECT_DATA_OBJID and SPC_PE_IMAGE_DATAOBJ of Authenticode.
constexpr const char* kSpcIndirectData = "1.3.6.1.4.1.311.2.1.4";
constexpr const char* kSpcPeImageData = "1.3.6.1.4.1.311.2.1.15";

// The bytes the signer's messageDigest attribute covers, and the expected content type.
struct SignedBytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::vector<ByteRange> ranges; // for detached data: ranges of the file
};

bool isAllowedDigest(int nid) {
  return nid == NID_sha256 || nid == NID_sha384 || nid == NID_sha512;
}

UniqueAsn1Object objectOf(const char* dotted) { return UniqueAsn1Object(OBJ_txt2obj(dotted, 1)); }

bool sameObject(const ASN1_OBJECT* object, const char* dotted) {
  const UniqueAsn1Object expected = objectOf(dotted);
  return object != nullptr && expected && OBJ_cmp(object, expected.get()) == 0;
}

// Feeds the `ranges` of `data` to `sink`: a digest context or an md filter (as BIO).
template <typename Feed>
bool feedRanges(const std::uint8_t* data, const std::vector<ByteRange>& ranges, Feed feed) {
  constexpr std::size_t kChunk = 1 << 20;
  for (const ByteRange& range : ranges) {
    for (std::size_t done = 0; done < range.length;) {
      const std::size_t chunk = std::min(kChunk, range.length - done);
      if (!feed(data + range.offset + done, chunk)) {
        return false;
      }
      done += chunk;
    }
  }
  return true;
}

// The digest of the `ranges` of `data` under `md` into `out`.
bool digestRanges(const EVP_MD* md, const std::uint8_t* data, const std::vector<ByteRange>& ranges,
                  std::vector<std::uint8_t>& out) {
  const UniqueDigestContext context(EVP_MD_CTX_new());
  unsigned int length = 0;
  out.assign(EVP_MAX_MD_SIZE, 0);
  if (!context || EVP_DigestInit_ex(context.get(), md, nullptr) != 1 ||
      !feedRanges(data, ranges,
                  [&](const std::uint8_t* bytes, std::size_t count) {
                    return EVP_DigestUpdate(context.get(), bytes, count) == 1;
                  }) ||
      EVP_DigestFinal_ex(context.get(), out.data(), &length) != 1) {
    return false;
  }
  out.resize(length);
  return true;
}

// Reads the SpcIndirectDataContent of an Authenticode SignedData: checks that it describes a PE
// image, compares its image digest with the file's, and points `signedBytes` at its contents
// (which the messageDigest attribute covers, without the outer tag and length).
std::string checkIndirectData(PKCS7* message, const std::uint8_t* file,
                              const SignedImageLayout& layout, SignedBytes& signedBytes) {
  PKCS7* inner = message->d.sign->contents;
  if (inner == nullptr || !sameObject(inner->type, kSpcIndirectData) || inner->d.other == nullptr ||
      inner->d.other->type != V_ASN1_SEQUENCE) {
    return "the signature does not sign a program image";
  }
  const ASN1_STRING* encoded = inner->d.other->value.sequence;
  const auto* data = ASN1_STRING_get0_data(encoded);
  const auto size = static_cast<std::size_t>(ASN1_STRING_length(encoded));
  DerElement outer, attribute, type, digestInfo, algorithm, algorithmId, digest;
  if (!readDerElement(data, size, 0, outer) || outer.tag != kDerSequence || outer.end() != size ||
      !readDerElement(data, outer.end(), outer.contents, attribute) ||
      attribute.tag != kDerSequence ||
      !readDerElement(data, attribute.end(), attribute.contents, type) ||
      type.tag != kDerObjectIdentifier ||
      !readDerElement(data, outer.end(), attribute.end(), digestInfo) ||
      digestInfo.tag != kDerSequence || digestInfo.end() != outer.end() ||
      !readDerElement(data, digestInfo.end(), digestInfo.contents, algorithm) ||
      algorithm.tag != kDerSequence ||
      !readDerElement(data, algorithm.end(), algorithm.contents, algorithmId) ||
      algorithmId.tag != kDerObjectIdentifier ||
      !readDerElement(data, digestInfo.end(), algorithm.end(), digest) ||
      digest.tag != kDerOctetString || digest.end() != digestInfo.end()) {
    return "the signature is malformed";
  }
  const unsigned char* cursor = data + type.start;
  const UniqueAsn1Object typeObject(
      d2i_ASN1_OBJECT(nullptr, &cursor, static_cast<long>(type.end() - type.start)));
  cursor = data + algorithmId.start;
  const UniqueAsn1Object digestObject(
      d2i_ASN1_OBJECT(nullptr, &cursor, static_cast<long>(algorithmId.end() - algorithmId.start)));
  if (!sameObject(typeObject.get(), kSpcPeImageData)) {
    return "the signature does not sign a program image";
  }
  const int nid = digestObject ? OBJ_obj2nid(digestObject.get()) : NID_undef;
  const EVP_MD* md = EVP_get_digestbynid(nid);
  std::vector<std::uint8_t> actual;
  if (!isAllowedDigest(nid) || md == nullptr) {
    return "the image digest algorithm is not accepted";
  }
  if (!digestRanges(md, file, layout.covered, actual) || actual.size() != digest.length ||
      std::memcmp(actual.data(), data + digest.contents, digest.length) != 0) {
    return "the file's digest does not match its signature";
  }
  signedBytes.data = data + outer.contents;
  signedBytes.size = outer.length;
  return "";
}

// Checks the signer's signature over its signed attributes and their messageDigest over
// `signedBytes`; `contentType` is the dotted content type the attributes must name.
std::string checkSignerInfo(PKCS7* message, PKCS7_SIGNER_INFO* signer, X509* certificate,
                            const SignedBytes& signedBytes, const char* contentType) {
  ASN1_TYPE* type = PKCS7_get_signed_attribute(signer, NID_pkcs9_contentType);
  if (type == nullptr || type->type != V_ASN1_OBJECT ||
      !sameObject(type->value.object, contentType)) {
    return "the signature's signed attributes are missing or wrong";
  }
  const int nid = OBJ_obj2nid(signer->digest_alg->algorithm);
  const EVP_MD* md = EVP_get_digestbynid(nid);
  if (!isAllowedDigest(nid) || md == nullptr) {
    return "the signature's digest algorithm is not accepted";
  }
  // The signed bytes run through an md filter into a sink; PKCS7_signatureVerify takes the digest
  // from the filter, compares it with the messageDigest attribute and checks the signature.
  BIO* filter = BIO_new(BIO_f_md());
  UniqueBioChain chain(filter);
  BIO* sink = BIO_new(BIO_s_null());
  if (filter == nullptr || sink == nullptr || BIO_set_md(filter, md) != 1) {
    BIO_free(sink);
    return "the signature cannot be checked";
  }
  BIO_push(filter, sink);
  const std::vector<ByteRange> whole = {{0, signedBytes.size}};
  const auto write = [&](const std::uint8_t* bytes, std::size_t count) {
    return BIO_write(filter, bytes, static_cast<int>(count)) == static_cast<int>(count);
  };
  const bool fed = signedBytes.ranges.empty()
                       ? feedRanges(signedBytes.data, whole, write)
                       : feedRanges(signedBytes.data, signedBytes.ranges, write);
  if (!fed || PKCS7_signatureVerify(filter, message, signer, certificate) != 1) {
    return "the signature does not verify";
  }
  return "";
}

UniqueX509Store pinnedStore(const std::string& trustedCaPem) {
  UniqueX509Store store(X509_STORE_new());
  const UniqueBio pem(BIO_new_mem_buf(trustedCaPem.data(), static_cast<int>(trustedCaPem.size())));
  if (!store || !pem) {
    return {};
  }
  int count = 0;
  while (X509* certificate = PEM_read_bio_X509(pem.get(), nullptr, nullptr, nullptr)) {
    const UniqueX509 owned(certificate);
    if (X509_STORE_add_cert(store.get(), certificate) != 1) {
      return {};
    }
    ++count;
  }
  ERR_clear_error(); // the end of the PEM text
  return count > 0 ? std::move(store) : UniqueX509Store();
}

// Verifies that `certificate` chains to the pinned CA (the other certificates of the signature
// may be intermediates) and is for code signing.
std::string checkCertificate(X509* certificate, STACK_OF(X509) * intermediates,
                             const std::string& trustedCaPem) {
  const UniqueX509Store store = pinnedStore(trustedCaPem);
  const UniqueX509StoreCtx context(X509_STORE_CTX_new());
  if (!store || !context) {
    return "no pinned code-signing CA";
  }
  // The pinned certificate is the anchor even when it is not self-signed.
  X509_STORE_set_flags(store.get(), X509_V_FLAG_PARTIAL_CHAIN);
  if (X509_STORE_CTX_init(context.get(), store.get(), certificate, intermediates) != 1) {
    return "the signer's certificate cannot be checked";
  }
  if (X509_verify_cert(context.get()) != 1) {
    return std::string("the signer's certificate does not chain to the pinned CA (") +
           X509_verify_cert_error_string(X509_STORE_CTX_get_error(context.get())) + ")";
  }
  const std::uint32_t flags = X509_get_extension_flags(certificate);
  if (!(flags & EXFLAG_XKUSAGE) || !(X509_get_extended_key_usage(certificate) & XKU_CODE_SIGN) ||
      ((flags & EXFLAG_KUSAGE) && !(X509_get_key_usage(certificate) & KU_DIGITAL_SIGNATURE))) {
    return "the signer's certificate is not for code signing";
  }
  return "";
}

std::string verify(const std::uint8_t* data, std::size_t size, const SignedImageLayout& layout,
                   SignedContent content, const std::string& trustedCaPem) {
  if (layout.signature.offset > size || layout.signature.length > size - layout.signature.offset ||
      layout.signature.length > 0x7FFFFFFF) {
    return "the signature is malformed";
  }
  const unsigned char* cursor = data + layout.signature.offset;
  const UniquePkcs7 message(
      d2i_PKCS7(nullptr, &cursor, static_cast<long>(layout.signature.length)));
  if (!message || cursor != data + layout.signature.offset + layout.signature.length ||
      !PKCS7_type_is_signed(message.get()) || message.get()->d.sign == nullptr) {
    return "the signature is malformed";
  }
  STACK_OF(PKCS7_SIGNER_INFO)* signers = PKCS7_get_signer_info(message.get());
  if (signers == nullptr || sk_PKCS7_SIGNER_INFO_num(signers) != 1) {
    return "the signature has not exactly one signer";
  }
  SignedBytes signedBytes;
  const char* contentType = kSpcIndirectData;
  if (content == SignedContent::AuthenticodeImage) {
    const std::string reason = checkIndirectData(message.get(), data, layout, signedBytes);
    if (!reason.empty()) {
      return reason;
    }
  } else {
    PKCS7* inner = message.get()->d.sign->contents;
    if (inner == nullptr || OBJ_obj2nid(inner->type) != NID_pkcs7_data ||
        !PKCS7_get_detached(message.get())) {
      return "the signature is not a detached signature of data";
    }
    contentType = "1.2.840.113549.1.7.1";
    signedBytes.data = data;
    signedBytes.ranges = layout.covered;
  }
  const UniqueBorrowedX509Stack signerCertificates(PKCS7_get0_signers(message.get(), nullptr, 0));
  if (!signerCertificates || sk_X509_num(signerCertificates.get()) != 1) {
    ERR_clear_error();
    return "the signature carries no signer's certificate";
  }
  X509* certificate = sk_X509_value(signerCertificates.get(), 0);
  std::string reason = checkSignerInfo(message.get(), sk_PKCS7_SIGNER_INFO_value(signers, 0),
                                       certificate, signedBytes, contentType);
  if (reason.empty()) {
    reason = checkCertificate(certificate, message.get()->d.sign->cert, trustedCaPem);
  }
  return reason;
}

} // namespace

std::string verifySignedImage(const std::uint8_t* data, std::size_t size,
                              const SignedImageLayout& layout, SignedContent content,
                              const std::string& trustedCaPem) {
  const std::string reason = verify(data, size, layout, content, trustedCaPem);
  // Leaves no error of this check behind for the TLS code of the same thread.
  ERR_clear_error();
  return reason;
}
