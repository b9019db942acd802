#pragma once

typedef struct ssl_ctx_st SSL_CTX;

// Adds to a TLS client context the certificate authorities this computer
// trusts, and those of the file and folder that the standard OpenSSL
// variables SSL_CERT_FILE and SSL_CERT_DIR name. Each system keeps its trust
// in its own place, so each has its own implementation.
void trustSystemAuthorities(SSL_CTX *context);
