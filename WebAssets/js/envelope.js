// Helpers for what the backend's answers look like once the app has wrapped
// them: {"ok", "status", ...answer members, "error"?, "body"?, "raw"?}.

export function isObject(value) {
  return value !== null && typeof value === 'object' && !Array.isArray(value);
}

// The text to show for a failed envelope, in the order the app itself uses
// for its own error texts.
export function envelopeError(envelope) {
  if (!isObject(envelope)) return 'resposta inválida do aplicativo';
  if (typeof envelope.error === 'string' && envelope.error !== '') return envelope.error;
  if (typeof envelope.message === 'string' && envelope.message !== '') return envelope.message;
  if (typeof envelope.raw === 'string') return 'o servidor respondeu com algo que não é JSON';
  if (typeof envelope.status === 'number' && envelope.status !== 0) return `HTTP ${envelope.status}`;
  return 'pedido falhou';
}

// The backend's own "ok" member replaces the app's computed one, so a 500
// answer whose body says {"ok": true} would read as a success. The status
// has the last word when it is a number outside 200..299.
export function envelopeOk(envelope) {
  if (!isObject(envelope) || envelope.ok !== true) return false;
  const { status } = envelope;
  return typeof status !== 'number' || (status >= 200 && status <= 299);
}

// One line: "ok · HTTP 200" or "falhou · HTTP 401 · not signed in".
export function envelopeSummary(envelope) {
  const status = isObject(envelope) ? envelope.status : undefined;
  const ok = envelopeOk(envelope);
  const parts = [ok ? 'ok' : 'falhou'];
  if (typeof status === 'number') parts.push(status ? `HTTP ${status}` : 'sem resposta');
  else if (!isObject(envelope)) parts.push('sem resposta');
  const error = envelopeError(envelope);
  if (!ok && error !== parts[1]) parts.push(error);
  return parts.join(' · ');
}

// Results of the account methods and the upload's refusal carry "ok" false
// with an "error" text (and sometimes a friendlier "message").
export function resultError(result) {
  if (!isObject(result)) return 'resposta inválida do aplicativo';
  if (typeof result.message === 'string' && result.message !== '') return result.message;
  if (typeof result.error === 'string' && result.error !== '') return result.error;
  return 'pedido falhou';
}
