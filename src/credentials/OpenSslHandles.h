// Owners for the OpenSSL objects the credential and signature code makes for a moment (see
// UniqueHandle.h).
#pragma once

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include "utils/UniqueHandle.h"

namespace handles_detail {
inline void freeBio(BIO* bio) noexcept { BIO_free(bio); }
inline void freeBioChain(BIO* bio) noexcept { BIO_free_all(bio); }
inline void freeX509(X509* certificate) noexcept { X509_free(certificate); }
inline void freeX509Store(X509_STORE* store) noexcept { X509_STORE_free(store); }
inline void freeX509StoreCtx(X509_STORE_CTX* context) noexcept { X509_STORE_CTX_free(context); }
inline void freePkcs7(PKCS7* message) noexcept { PKCS7_free(message); }
inline void freeDigestContext(EVP_MD_CTX* context) noexcept { EVP_MD_CTX_free(context); }
inline void freeAsn1Object(ASN1_OBJECT* object) noexcept { ASN1_OBJECT_free(object); }
// Frees the stack only; its certificates belong to someone else.
inline void freeX509Stack(STACK_OF(X509) * stack) noexcept { sk_X509_free(stack); }
} // namespace handles_detail

// Memory streams from BIO_new_mem_buf.
using UniqueBio = UniqueHandle<BIO*, handles_detail::freeBio, 0>;
// A chain of filters built with BIO_push, freed from its head.
using UniqueBioChain = UniqueHandle<BIO*, handles_detail::freeBioChain, 0>;
using UniqueX509 = UniqueHandle<X509*, handles_detail::freeX509, 0>;
using UniqueX509Store = UniqueHandle<X509_STORE*, handles_detail::freeX509Store, 0>;
using UniqueX509StoreCtx = UniqueHandle<X509_STORE_CTX*, handles_detail::freeX509StoreCtx, 0>;
using UniquePkcs7 = UniqueHandle<PKCS7*, handles_detail::freePkcs7, 0>;
using UniqueDigestContext = UniqueHandle<EVP_MD_CTX*, handles_detail::freeDigestContext, 0>;
using UniqueAsn1Object = UniqueHandle<ASN1_OBJECT*, handles_detail::freeAsn1Object, 0>;
// Stacks that borrow their certificates (PKCS7_get0_signers).
using UniqueBorrowedX509Stack = UniqueHandle<STACK_OF(X509)*, handles_detail::freeX509Stack, 0>;
