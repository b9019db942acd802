#include "exchange/system_trust.h"

#include <openssl/ssl.h>

// OpenSSL's own default is the system's trust here, and it honours
// SSL_CERT_FILE and SSL_CERT_DIR.
void trustSystemAuthorities(SSL_CTX *context)
{
    SSL_CTX_set_default_verify_paths(context);
}
